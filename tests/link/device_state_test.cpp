// The diagnosis of a missing or forbidden processor: the hidapi backend over a scripted device
// list, and the state that UsbComm tells its front end once per change.
#include "link/device_state.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <string>

#include "link/hidapi_port.h"
#include "link/link_test_support.h"
#include "link/usb_comm.h"

namespace vellora::link {
namespace {

using testing::ScriptedPort;
using States = std::vector<DeviceState>;

/// A device list as the test sets it: each node with its ids and what opening it gives.
class ScriptedEnumeration : public HidEnumeration {
public:
    struct Node {
        HidDeviceEntry Entry;
        LinkError OpenError;
    };
    std::vector<Node> nodes;
    std::vector<std::string> opened;

    std::vector<HidDeviceEntry> Enumerate(std::uint16_t, std::uint16_t) override {
        std::vector<HidDeviceEntry> entries;
        for (const Node& n : nodes) entries.push_back(n.Entry);
        return entries;
    }
    HidOpenResult OpenPath(const std::string& path) override {
        opened.push_back(path);
        for (const Node& n : nodes)
            if (n.Entry.Path == path) return {nullptr, n.OpenError};
        return {nullptr, LinkError::OpenFailed};
    }
};

const ScriptedEnumeration::Node kForbidden{{"/dev/hidraw3", 0x0483, 0x5750},
                                           LinkError::AccessDenied};
const ScriptedEnumeration::Node kBusy{{"/dev/hidraw4", 0x0483, 0x5750}, LinkError::OpenFailed};
const ScriptedEnumeration::Node kKeyboard{{"/dev/hidraw0", 0x046D, 0xC31C}, LinkError::None};

TEST(HidapiPortDiagnosis, TellsAbsentFromForbiddenFromBusy) {
    struct Case {
        const char* name;
        std::vector<ScriptedEnumeration::Node> nodes;
        LinkError result;
        std::vector<std::string> opened;
    };
    const Case cases[] = {
        {"nothing plugged in", {}, LinkError::NotFound, {}},
        {"only other devices", {kKeyboard}, LinkError::NotFound, {}},
        {"no permission", {kKeyboard, kForbidden}, LinkError::AccessDenied, {"/dev/hidraw3"}},
        {"in use", {kBusy}, LinkError::OpenFailed, {"/dev/hidraw4"}},
        {"busy, then forbidden",
         {kBusy, kForbidden},
         LinkError::AccessDenied,
         {"/dev/hidraw4", "/dev/hidraw3"}},
        {"forbidden, then busy",
         {kForbidden, kBusy},
         LinkError::AccessDenied,
         {"/dev/hidraw3", "/dev/hidraw4"}},
    };
    for (const Case& c : cases) {
        model::VirtualClock clock;
        ScriptedEnumeration list;
        list.nodes = c.nodes;
        HidapiPort port(clock, list);
        EXPECT_EQ(port.Open({0x0483, 0x5750, true}), c.result) << c.name;
        EXPECT_FALSE(port.IsOpen()) << c.name;
        EXPECT_EQ(list.opened, c.opened) << c.name;
    }
}

// The poll re-scans a quiet device every 81 ticks; the front end hears of each answer once.
TEST(UsbCommState, ReScansWithTheSameAnswerAreReportedOnce) {
    model::VirtualClock clock;
    ScriptedEnumeration list;
    HidapiPort port(clock, list);
    UsbComm comm(port, clock);
    States told;
    comm.SetStateHandler([&](DeviceState s) { told.push_back(s); });
    EXPECT_EQ(comm.State(), DeviceState::Searching);

    EXPECT_FALSE(comm.Connect());
    comm.Start();
    clock.AdvanceBy(5000);  // a dozen re-scans, the port enumerates every second at most
    EXPECT_GE(port.Enumerations(), 4);
    EXPECT_EQ(told, States{DeviceState::NotFound});

    list.nodes = {kForbidden};  // plugged in, but the udev rule is missing
    clock.AdvanceBy(5000);
    EXPECT_EQ(comm.State(), DeviceState::NoPermission);
    // Not found and not permitted are told apart in words; only the latter names the rule.
    EXPECT_EQ(std::string(DeviceStateText(DeviceState::NotFound)),
              "no processor found: check that it is plugged in and switched on");
#if defined(__linux__)
    EXPECT_EQ(std::string(DeviceStateText(comm.State())),
              "a processor was found on USB but cannot be opened: no permission; install the udev "
              "rule 70-vellora.rules (see the README) and plug it in again");
#endif
    EXPECT_EQ(std::string(DeviceStateText(comm.State())), LinkErrorText(comm.LastError()));

    list.nodes = {kBusy};
    clock.AdvanceBy(5000);
    list.nodes = {};
    clock.AdvanceBy(5000);
    EXPECT_EQ(told, (States{DeviceState::NotFound, DeviceState::NoPermission,
                            DeviceState::Unavailable, DeviceState::NotFound}));
}

TEST(UsbCommState, OpenLostAndFoundAgain) {
    model::VirtualClock clock;
    ScriptedPort port;
    UsbComm comm(port, clock);
    States told;
    comm.SetStateHandler([&](DeviceState s) { told.push_back(s); });
    std::vector<bool> plugs;
    States at_plug;  // Plug comes after the state has changed
    comm.SetPlugHandler([&](bool s) {
        plugs.push_back(s);
        at_plug.push_back(comm.State());
    });

    ASSERT_TRUE(comm.Connect());
    ASSERT_TRUE(comm.Connect());  // kept: no second report
    comm.SetDeviceSimulator(true);
    ASSERT_TRUE(comm.SetVendorID("&H1234"));
    port.device = {0x1234, 0x5750, true};
    ASSERT_TRUE(comm.Connect());  // other ids: closed on purpose and opened again, not lost
    port.Unplug(LinkError::ReadFailed);
    EXPECT_FALSE(comm.Connect());
    port.present = true;
    port.absent_error = LinkError::AccessDenied;
    port.device = {0, 0, true};  // a present device that may not be opened
    EXPECT_FALSE(comm.Connect());
    EXPECT_EQ(told, (States{DeviceState::Open, DeviceState::Lost, DeviceState::NotFound,
                            DeviceState::NoPermission}));
    EXPECT_EQ(plugs, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(at_plug,
              (States{DeviceState::Open, DeviceState::Open, DeviceState::Open, DeviceState::Lost}));
}

#if defined(__linux__)
// One terminal at a time holds a device node: a second one finds it in use until the first
// lets go.
TEST(DeviceNodeLock, ASecondTerminalFindsTheNodeInUse) {
    QTemporaryDir dir;
    const std::string node = dir.filePath("hidraw0").toStdString();
    QFile file(QString::fromStdString(node));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const int first = LockDeviceNode(node);
    ASSERT_GE(first, 0);
    EXPECT_EQ(LockDeviceNode(node), -2);
    UnlockDeviceNode(first);
    const int again = LockDeviceNode(node);
    EXPECT_GE(again, 0);
    UnlockDeviceNode(again);
    EXPECT_EQ(LockDeviceNode(dir.filePath("missing").toStdString()), -1);
}
#endif

}  // namespace
}  // namespace vellora::link
