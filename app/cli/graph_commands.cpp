// vellora-cli curve and render: the response graph of a settings file's page, as numbers
// (one row per grid point: frequency, every band's dB, the sum) and, when built with Qt Gui,
// as a PNG picture.
#include <QBuffer>
#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <array>
#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>

#include "cli/arg_parser.h"
#include "cli/command_registry.h"
#include "cli/output_file.h"
#include "cli/settings_view.h"
#include "cli/text_table.h"
#include "graph/curve_list_builder.h"
#include "graph/graph_geometry.h"
#include "graph/response_table.h"
#include "model/value_scales.h"
#include "model/workspace.h"

#if VELLORA_CLI_GUI
#include <QImageWriter>

#include "graph/graph_pictures.h"
#include "graph/picture_store.h"
#include "graph/response_graph.h"
#endif

namespace vellora::cli {

namespace {

constexpr int kMaxSide = 8192;
// The largest picture render draws, in pixels after the density: 8192 x 8192 at density 1.
// The graph keeps several layers of that size, so this bounds its memory to about 1 GB.
constexpr std::int64_t kMaxPicturePixels = std::int64_t{kMaxSide} * kMaxSide;
constexpr std::int64_t kMegapixel = 1024 * 1024;

constexpr std::string_view kCurveHelp =
    "Usage: vellora-cli curve FILE --page P [--scene S] [--view V] [--width W] [--height H]\n"
    "                         [--csv|--json]\n"
    "\n"
    "Prints the response curves the graph draws for page P (menu kind 0..10) of a settings\n"
    "file: for each grid point of a graph W pixels wide (one point per pixel column from\n"
    "x = 40 to W - 6, so the default 645 gives 600 points from 10 Hz up), the grid frequency\n"
    "in Hz, the dB value of every band of the page and their sum. Band columns are named\n"
    "pPOS_INDEX: the band's list position and the ParamIndex it comes from (for a filter\n"
    "with a type entry, the type entry). Numbers are single-precision values written in\n"
    "their shortest exact form.\n"
    "\n"
    "Options:\n"
    "  --page P    0..10 (required)\n"
    "  --scene S   0 singing, 1 dance; default: the scene the file selects (entry 2590)\n"
    "  --view V    effects page (3) only (refused on other pages): 0 echo, 1 reverb,\n"
    "              2 effect bands; default 0\n"
    "  --width W   graph width in pixels, 100..8192; default 645\n"
    "  --height H  graph height in pixels, 60..8192; default 400 (no effect on the values)\n"
    "  --csv       comma-separated, one header line\n"
    "  --json      one JSON object, schema \"vellora.curve/1\": the bands with their fields,\n"
    "              \"freq\", one array per band in \"columns\", and \"sum\"\n";

#if VELLORA_CLI_GUI
constexpr std::string_view kRenderHelp =
    "Usage: vellora-cli render FILE --page P [--scene S] [--view V] [--width W] [--height H]\n"
    "                          [--select N] [--scale K] --out PNG\n"
    "\n"
    "Draws the response graph of page P of a settings file as the editor shows it once the\n"
    "page has settled: every band's curve, the selected band's curve, the sum with its fill,\n"
    "the numbered handles, the selected band's values and, when the page is bypassed, the\n"
    "bypass banner. The subwoofer auto control of the file greys the pages it locks.\n"
    "\n"
    "Options:\n"
    "  --page P    0..10 (required)\n"
    "  --scene S   0 singing, 1 dance; default: the scene the file selects (entry 2590)\n"
    "  --view V    effects page (3) only (refused on other pages): 0 echo, 1 reverb,\n"
    "              2 effect bands; default 0\n"
    "  --width W   100..8192 pixels; default 1000\n"
    "  --height H  60..8192 pixels; default 400\n"
    "  --select N  the selected band's list position; default 0\n"
    "  --scale K   pixel density 1..4 (2 for a high-density screen); default 1. The picture,\n"
    "              (W x K) x (H x K) pixels, may have at most 64 megapixels (8192 x 8192)\n"
    "  --out PNG   the picture to write (replaced only once completely written; never a\n"
    "              folder, device, pipe, socket or FILE itself)\n";
#endif

struct GraphArgs {
    std::string path;
    graph::GraphView view;
    bool sceneGiven = false;
    int width = 0;
    int height = 400;
};

// Parses what curve and render share; on failure prints the error and returns false.
bool ParseGraphArgs(Invocation& inv, const ParsedArgs& parsed, int defaultWidth, GraphArgs& out,
                    int& status) {
    status = kExitError;
    if (parsed.positionals.size() != 1) {
        inv.Fail(parsed.positionals.empty()
                     ? "missing FILE"
                     : "expected one FILE, got " + std::to_string(parsed.positionals.size()));
        return false;
    }
    out.path = parsed.positionals[0];
    auto number = [&](std::string_view name, int min, int max, int& value) {
        const std::optional<std::string> text = parsed.Value(name);
        if (!text) return true;
        if (ParseIntInRange(*text, min, max, value)) return true;
        inv.Fail(std::string(name) + " must be a whole number from " + std::to_string(min) +
                 " to " + std::to_string(max) + ", not '" + *text + "'");
        return false;
    };
    if (!parsed.Has("--page")) {
        inv.Fail("--page is required (0..10)");
        return false;
    }
    out.width = defaultWidth;
    out.sceneGiven = parsed.Has("--scene");
    if (!number("--page", 0, model::kMenuKindCount - 1, out.view.Page)) return false;
    if (parsed.Has("--view") && out.view.Page != graph::kEffectsPage) {
        inv.Fail("--view belongs to the effects page (3) only, not to page " +
                 std::to_string(out.view.Page));
        return false;
    }
    return number("--scene", 0, 1, out.view.Scene) && number("--view", 0, 2, out.view.EffectView) &&
           number("--width", graph::kMinGraphWidth, kMaxSide, out.width) &&
           number("--height", graph::kMinGraphHeight, kMaxSide, out.height);
}

// The file's settings as the live store, with the scene and the subwoofer auto control the
// file selects.
bool LoadWorkspace(Invocation& inv, GraphArgs& args, model::Workspace& ws) {
    if (!LoadSettingsArgument(inv, args.path, ws)) return false;
    for (int i = 0; i < model::kParamCount; ++i) *ws.ParamStore.Record(i) = *ws.ModeImage.Record(i);
    const int32_t scene = ws.ParamStore.ValueAt(model::entry::kSceneSelect, 0);
    if (!args.sceneGiven) args.view.Scene = scene == 1 ? 1 : 0;
    (void)ws.SetCurrentScene(args.view.Scene);
    (void)ws.SetCurrentPage(args.view.Page);
    ws.SetBassAutoControl(ws.ParamStore.ValueAt(model::entry::kBassAuto, 0) == 1 ? 1 : 0);
    return true;
}

std::string Shortest(float value) {
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

std::string ColumnName(const graph::CurveBand& band, int position) {
    std::string name = "p";  // appended piecewise: GCC 12 misreads "p" + string as overlapping
    name += std::to_string(position);
    name += '_';
    name += std::to_string(band.ParamIndex);
    return name;
}

QJsonObject BandJson(const graph::CurveBand& band, int position) {
    QJsonObject o;
    o["position"] = position;
    o["name"] = QString::fromStdString(ColumnName(band, position));
    o["paramIndex"] = band.ParamIndex;
    o["filterType"] = band.FilterType;
    o["freqIndex"] = band.Freq;
    o["freqHz"] = static_cast<double>(model::FreqAt(band.Freq));
    if (band.IsEq()) {
        o["gainStep"] = band.GainOrType;
        o["qType"] = band.QType;
        o["qIndex"] = band.Q;
        o["q"] = static_cast<double>(model::QAt(band.Q));
        o["shelfQIndex"] = band.ShelfQ;
        o["shelfQ"] = static_cast<double>(model::QAt(band.ShelfQ));
    } else {
        o["crossoverType"] = band.GainOrType;
        o["paired"] = band.Paired;
    }
    o["eqDisabled"] = band.EQdisabled;
    o["locked"] = band.Locked;
    return o;
}

int RunCurve(Invocation& inv) {
    static constexpr std::array<OptionDef, 7> kOptions{{{"--page", true},
                                                         {"--scene", true},
                                                         {"--view", true},
                                                         {"--width", true},
                                                         {"--height", true},
                                                         {"--csv", false},
                                                         {"--json", false}}};
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(inv.args, kOptions, parsed, error)) return inv.Fail(error);
    if (parsed.Has("--csv") && parsed.Has("--json"))
        return inv.Fail("--csv and --json exclude each other");
    GraphArgs args;
    int status = kExitOk;
    if (!ParseGraphArgs(inv, parsed, 645, args, status)) return status;
    const auto ws = std::make_unique<model::Workspace>();
    if (!LoadWorkspace(inv, args, *ws)) return kExitError;

    // The same computation the graph draws, without drawing.
    graph::GraphGeometry geometry;
    geometry.SetupGeometry(args.width, args.height);
    const std::vector<float> freqs = geometry.GridFrequencies();
    graph::ResponseTable table;
    table.PrepareGrid(freqs);
    const graph::CurveList list = graph::BuildCurveList(*ws, args.view, nullptr);
    for (int i = 0; i < list.CurveCount; ++i)
        table.ComputeBandCurve(list.Bands[static_cast<size_t>(i)], args.view.Page);
    table.ComputeSum(list.CurveCount);
    const size_t n = freqs.size();
    auto column = [&](int i) { return table.Column(list.Bands[static_cast<size_t>(i)].Column); };

    if (parsed.Has("--json")) {
        QJsonObject root;
        root["schema"] = "vellora.curve/1";
        root["file"] = QString::fromStdString(args.path);
        root["page"] = args.view.Page;
        root["scene"] = args.view.Scene;
        root["view"] = args.view.EffectView;
        root["width"] = geometry.Width();
        root["height"] = geometry.Height();
        root["points"] = static_cast<int>(n);
        root["firstX"] = graph::kPlotLeft;
        root["pageGreyed"] = list.PageGreyed;
        QJsonArray bands;
        QJsonArray columns;
        for (int i = 0; i < list.CurveCount; ++i) {
            bands.append(BandJson(list.Bands[static_cast<size_t>(i)], i));
            QJsonArray values;
            for (float v : column(i)) values.append(static_cast<double>(v));
            columns.append(values);
        }
        QJsonArray freqArray;
        QJsonArray sum;
        for (size_t j = 0; j < n; ++j) {
            freqArray.append(static_cast<double>(freqs[j]));
            sum.append(static_cast<double>(table.SumCurve()[j]));
        }
        root["bands"] = bands;
        root["freq"] = freqArray;
        root["columns"] = columns;
        root["sum"] = sum;
        WriteJson(inv.out, root);
        return kExitOk;
    }

    std::vector<std::string> header = {"x", "freq"};
    for (int i = 0; i < list.CurveCount; ++i)
        header.push_back(ColumnName(list.Bands[static_cast<size_t>(i)], i));
    header.push_back("sum");
    auto row = [&](size_t j) {
        std::vector<std::string> cells = {std::to_string(graph::kPlotLeft + static_cast<int>(j)),
                                          Shortest(freqs[j])};
        for (int i = 0; i < list.CurveCount; ++i) cells.push_back(Shortest(column(i)[j]));
        cells.push_back(Shortest(table.SumCurve()[j]));
        return cells;
    };
    if (parsed.Has("--csv")) {
        for (size_t c = 0; c < header.size(); ++c) inv.out << (c ? "," : "") << header[c];
        inv.out << '\n';
        for (size_t j = 0; j < n; ++j) {
            const std::vector<std::string> cells = row(j);
            for (size_t c = 0; c < cells.size(); ++c) inv.out << (c ? "," : "") << cells[c];
            inv.out << '\n';
        }
        return kExitOk;
    }
    inv.out << args.path << ": page " << args.view.Page << ", scene " << args.view.Scene;
    if (args.view.Page == graph::kEffectsPage) inv.out << ", view " << args.view.EffectView;
    inv.out << ", " << list.CurveCount << " bands, " << n << " points"
            << (list.PageGreyed ? ", greyed" : "") << '\n';
    TextTable text;
    for (size_t c = 0; c < header.size(); ++c)
        text.AddColumn(header[c], TextTable::Align::Right);
    for (size_t j = 0; j < n; ++j) text.AddRow(row(j));
    text.Print(inv.out);
    return kExitOk;
}

#if VELLORA_CLI_GUI
int RunRender(Invocation& inv) {
    static constexpr std::array<OptionDef, 8> kOptions{{{"--page", true},
                                                         {"--scene", true},
                                                         {"--view", true},
                                                         {"--width", true},
                                                         {"--height", true},
                                                         {"--select", true},
                                                         {"--scale", true},
                                                         {"--out", true}}};
    ParsedArgs parsed;
    std::string error;
    if (!ParseArgs(inv.args, kOptions, parsed, error)) return inv.Fail(error);
    GraphArgs args;
    int status = kExitOk;
    if (!ParseGraphArgs(inv, parsed, 1000, args, status)) return status;
    const std::optional<std::string> out = parsed.Value("--out");
    if (!out || out->empty()) return inv.Fail("--out PNG is required");
    if (const auto problem = OutputPathProblem(*out, std::span(&args.path, 1)))
        return inv.Fail(*problem);
    int select = 0;
    int scale = 1;
    if (auto text = parsed.Value("--select");
        text && !ParseIntInRange(*text, 0, graph::kMaxBands - 1, select))
        return inv.Fail("--select must be a band position from 0 to 16, not '" + *text + "'");
    if (auto text = parsed.Value("--scale"); text && !ParseIntInRange(*text, 1, 4, scale))
        return inv.Fail("--scale must be 1, 2, 3 or 4, not '" + *text + "'");
    const std::int64_t pixels = std::int64_t{args.width} * scale * args.height * scale;
    if (pixels > kMaxPicturePixels)
        return inv.Fail("a picture of " + std::to_string(args.width * scale) + " x " +
                        std::to_string(args.height * scale) + " pixels (" +
                        std::to_string(pixels / kMegapixel) + " megapixels) is over the limit of " +
                        std::to_string(kMaxPicturePixels / kMegapixel) +
                        " megapixels; lower --width, --height or --scale");
    const auto ws = std::make_unique<model::Workspace>();
    if (!LoadWorkspace(inv, args, *ws)) return kExitError;

    graph::PictureStore pictures(scale);
    graph::RegisterGraphPictures(pictures);
    graph::ResponseGraph graph(*ws, pictures);
    graph.SetupGeometry(args.width, args.height, scale);
    graph.RedrawAll(args.view, nullptr);
    const int count = graph.Bands().CurveCount;
    if (parsed.Has("--select") && select >= count)
        return inv.Fail("--select " + std::to_string(select) + ": page " +
                        std::to_string(args.view.Page) + " has " + std::to_string(count) +
                        (count == 1 ? " band" : " bands"));
    graph.SetSelectedBand(select);
    graph.Compose();
    // Let the page settle as on screen: the selected fill fades out, the sum's fill fades in.
    while (graph.FadeTick()) {
    }

    // Encoded in memory first: the only failure left for the file is the file's own.
    QByteArray png;
    QBuffer buffer(&png);
    (void)buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("png"));
    if (!writer.write(graph.FrontLayer()))
        return inv.Fail("cannot encode the picture: " + writer.errorString().toStdString());
    if (std::string why; !WriteOutputFile(QString::fromStdString(*out), png, why))
        return inv.Fail("cannot write " + *out + ": " + why);
    inv.out << *out << ": page " << args.view.Page << ", " << count << " bands, "
            << graph.FrontLayer().width() << " x " << graph.FrontLayer().height() << " pixels\n";
    return kExitOk;
}
#endif

}  // namespace

void RegisterGraphCommands(CommandRegistry& registry) {
    registry.Add({"curve",
                  "print the response curves of a page: frequency, each band's dB, the sum",
                  kCurveHelp, RunCurve, ApplicationKind::None});
#if VELLORA_CLI_GUI
    registry.Add({"render", "draw the response graph of a page as a PNG picture", kRenderHelp,
                  RunRender, ApplicationKind::Gui});
#endif
}

}  // namespace vellora::cli
