// The files of vellora-cli's commands, one line each: the function that registers the file's
// commands, `void RegisterXxx(CommandRegistry&)` in namespace vellora::cli. A new file of
// commands under app/cli/ adds its one line here (sources are picked up by the build).
// No include guard: command_registry.cpp includes this list twice.
VELLORA_CLI_COMMANDS(RegisterDefaultsCommand)
VELLORA_CLI_COMMANDS(RegisterDumpCommand)
VELLORA_CLI_COMMANDS(RegisterDiffCommand)
VELLORA_CLI_COMMANDS(RegisterGraphCommands)
VELLORA_CLI_COMMANDS(RegisterDeviceCommands)
VELLORA_CLI_COMMANDS(RegisterParamCommands)
