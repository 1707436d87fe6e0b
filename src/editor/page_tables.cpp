// The rows of the editor's pages. Captions are the processor's own names from its menu
// lists; where a list pairs a name with a neighbouring address (the microphone pages' level
// and high-pass entries), the caption follows what the control edits.
#include "editor/page_tables.h"

#include <array>

namespace vellora::editor {

namespace {

using A = ControlArray;
using R = Region;

// Slider forms and their value types, as the design data combines them.
constexpr int kStripForm = 1;      // equaliser band strip, gain steps 10..370
constexpr int kBarForm = 2;        // horizontal bar with its value plate (HScrollSize 2)
constexpr int kMasterForm = 6;     // horizontal bar with mute shading
constexpr int kVolumeForm = 7;     // horizontal volume bar in percent
constexpr int kBarSize = 2;

// Buttons: on/off switches and the option tabs.
constexpr int kSwitch = 0;  // ActionType 0
constexpr std::string_view kOnOff = "142,143";

constexpr std::string_view kMuteKey = "466,467";  // the editor's own small mute key
// The option groups' keys, numbered 1..4 (the editor's own pictures).
constexpr std::string_view kOption0 = "470,471";
constexpr std::string_view kOption1 = "472,473";
constexpr std::string_view kOption2 = "474,475";
constexpr std::string_view kOption3 = "476,477";

constexpr ControlDecl Strip(int index, int page, std::string_view tag, int col,
                            std::string_view caption, int view = -1) {
    ControlDecl d{A::MyScrollBar, index, page, tag, kStripForm, 15, 360};
    d.Where = R::Strips;
    d.Col = col;
    d.Caption = caption;
    d.EffectView = view;
    return d;
}

constexpr ControlDecl Bar(int index, int page, std::string_view tag, int valueType, int max,
                          R where, int col, int row, std::string_view caption) {
    ControlDecl d{A::MyScrollBar, index, page, tag, kBarForm, valueType, max, kBarSize};
    d.Where = where;
    d.Col = col;
    d.Row = row;
    d.Caption = caption;
    return d;
}

constexpr ControlDecl Volume(int index, int page, std::string_view tag, R where, int col,
                             int row, std::string_view caption) {
    ControlDecl d{A::MyScrollBar, index, page, tag, kVolumeForm, 10, 150};
    d.Where = where;
    d.Col = col;
    d.Row = row;
    d.Caption = caption;
    return d;
}

constexpr ControlDecl List(int index, int page, std::string_view tag, int showType, R where,
                           int col, int row, std::string_view caption) {
    ControlDecl d{A::MyComboBox, index, page, tag, showType};
    d.Where = where;
    d.Col = col;
    d.Row = row;
    d.Caption = caption;
    return d;
}

constexpr ControlDecl Button(A array, int index, int page, std::string_view tag, R where,
                             int col, int row, std::string_view caption,
                             std::string_view pictures = kOnOff) {
    ControlDecl d{array, index, page, tag, kSwitch};
    d.Where = where;
    d.Col = col;
    d.Row = row;
    d.Caption = caption;
    d.Pictures = pictures;
    return d;
}

constexpr ControlDecl Master(int index, std::string_view tag, std::string_view caption) {
    ControlDecl d{A::MyScrollBar, index, kEveryPage, tag, kMasterForm, 0, 80};
    d.Where = R::Masters;
    d.Col = index;
    d.Caption = caption;
    return d;
}

// Value types of the bars, by what the parameter is.
constexpr int kHighPassHz = 13;   // frequency index, "OFF" at 0
constexpr int kHighPassMax = 148;
constexpr int kLowPassHz = 16;    // frequency index from 5990 Hz, "OFF" at 20220 Hz
constexpr int kLowPassMax = 64;
constexpr int kHighHz = 6;        // frequency index from 5990 Hz
constexpr int kHighHzMax = 63;
constexpr int kThresholdDb = 2;   // -40.0 .. 0.0 dB
constexpr int kRatio = 3;         // 1.0 .. 100 : 1
constexpr int kAttackMs = 4;      // 0.5 .. 100 ms
constexpr int kReleaseMs = 5;     // 10 .. 2000 ms
constexpr int kDelayMs = 11;      // 0.0 .. 10.0 ms
constexpr int kSteps = 0;         // plain steps

constexpr std::array kControls{
    // ---- the master sliders and their mutes, on every page ----
    Master(0, "Common,10,0", "主音量1"),
    Master(1, "Common,10,1", "主音量2"),
    Master(2, "Common,10,2", "主音量3"),
    Button(A::SingleMute, 0, kEveryPage, "Common,10,&H21", R::Masters, 0, 0, "主音量1静音", kMuteKey),
    Button(A::SingleMute, 1, kEveryPage, "Common,10,&H22", R::Masters, 1, 0, "主音量2静音", kMuteKey),
    Button(A::SingleMute, 2, kEveryPage, "Common,10,&H23", R::Masters, 2, 0, "主音量3静音", kMuteKey),

    // ---- page 0: music ----
    Strip(3, 0, "EQ,0,0", 0, "EQ1"), Strip(4, 0, "EQ,0,1", 1, "EQ2"),
    Strip(5, 0, "EQ,0,2", 2, "EQ3"), Strip(6, 0, "EQ,0,3", 3, "EQ4"),
    Strip(7, 0, "EQ,0,4", 4, "EQ5"), Strip(8, 0, "EQ,0,5", 5, "EQ6"),
    Strip(9, 0, "EQ,0,6", 6, "EQ7"), Strip(10, 0, "EQ,0,7", 7, "EQ8"),
    Strip(11, 0, "EQ,0,8", 8, "EQ9"), Strip(12, 0, "EQ,0,9", 9, "EQ10"),
    Strip(13, 0, "EQ,0,10", 10, "EQ11"), Strip(14, 0, "EQ,0,11", 11, "EQ12"),
    Strip(15, 0, "EQ,0,12", 12, "EQ13"), Strip(16, 0, "EQ,0,13", 13, "EQ14"),
    Strip(17, 0, "EQ,0,14", 14, "EQ15"),
    Bar(60, 0, "EQF,0,&HF", kHighPassHz, kHighPassMax, R::Bottom, 0, 0, "高通滤波器频点"),
    Bar(61, 0, "EQF,0,&H10", kLowPassHz, kLowPassMax, R::Bottom, 1, 0, {}),
    List(6, 0, "Group,0,&H11", 7, R::Bottom, 2, 0, {}),

    // ---- page 1: microphones 1 and 2 ----
    Strip(18, 1, "EQ,1,1", 0, "EQ1"), Strip(19, 1, "EQ,1,2", 1, "EQ2"),
    Strip(20, 1, "EQ,1,3", 2, "EQ3"), Strip(21, 1, "EQ,1,4", 3, "EQ4"),
    Strip(22, 1, "EQ,1,5", 4, "EQ5"), Strip(23, 1, "EQ,1,6", 5, "EQ6"),
    Strip(24, 1, "EQ,1,7", 6, "EQ7"), Strip(25, 1, "EQ,1,8", 7, "EQ8"),
    Strip(26, 1, "EQ,1,9", 8, "EQ9"), Strip(27, 1, "EQ,1,10", 9, "EQ10"),
    Strip(28, 1, "EQ,1,11", 10, "EQ11"), Strip(29, 1, "EQ,1,12", 11, "EQ12"),
    Strip(30, 1, "EQ,1,13", 12, "EQ13"), Strip(31, 1, "EQ,1,14", 13, "EQ14"),
    Strip(32, 1, "EQ,1,15", 14, "EQ15"),
    Bar(33, 1, "EQF,1,0", kHighPassHz, kHighPassMax, R::Bottom, 0, 0, "高通滤波器"),
    Volume(62, 1, "Group,1,&H14", R::Bottom, 1, 0, "话筒音量"),
    Bar(63, 1, "Group,1,&H10", kThresholdDb, 400, R::Bottom, 0, 1, "启动电平"),
    Bar(64, 1, "Group,1,&H11", kRatio, 180, R::Bottom, 1, 1, "压缩比例"),
    Bar(65, 1, "Group,1,&H12", kAttackMs, 199, R::Bottom, 2, 1, "启动时间"),
    Bar(66, 1, "Group,1,&H13", kReleaseMs, 199, R::Bottom, 3, 1, "释放时间"),
    Button(A::OptionFBX, 0, 1, "Group,1,&H15", R::Bottom, 2, 0, {}, kOption0),
    Button(A::OptionFBX, 1, 1, {}, R::Bottom, 2, 0, {}, kOption1),
    Button(A::OptionFBX, 2, 1, {}, R::Bottom, 2, 0, {}, kOption2),
    Button(A::OptionFBX, 3, 1, {}, R::Bottom, 2, 0, {}, kOption3),

    // ---- page 2: microphones 3 and 4 ----
    Strip(35, 2, "EQ,2,1", 0, "EQ1"), Strip(36, 2, "EQ,2,2", 1, "EQ2"),
    Strip(37, 2, "EQ,2,3", 2, "EQ3"), Strip(38, 2, "EQ,2,4", 3, "EQ4"),
    Strip(39, 2, "EQ,2,5", 4, "EQ5"), Strip(40, 2, "EQ,2,6", 5, "EQ6"),
    Strip(41, 2, "EQ,2,7", 6, "EQ7"), Strip(42, 2, "EQ,2,8", 7, "EQ8"),
    Strip(43, 2, "EQ,2,9", 8, "EQ9"), Strip(44, 2, "EQ,2,10", 9, "EQ10"),
    Strip(45, 2, "EQ,2,11", 10, "EQ11"), Strip(46, 2, "EQ,2,12", 11, "EQ12"),
    Strip(47, 2, "EQ,2,13", 12, "EQ13"), Strip(48, 2, "EQ,2,14", 13, "EQ14"),
    Strip(49, 2, "EQ,2,15", 14, "EQ15"),
    Bar(34, 2, "EQF,2,0", kHighPassHz, kHighPassMax, R::Bottom, 0, 0, "高通滤波器"),
    Volume(67, 2, "Group,2,&H14", R::Bottom, 1, 0, "话筒音量"),
    Bar(68, 2, "Group,2,&H10", kThresholdDb, 400, R::Bottom, 0, 1, "启动电平"),
    Bar(69, 2, "Group,2,&H11", kRatio, 180, R::Bottom, 1, 1, "压缩比例"),
    Bar(70, 2, "Group,2,&H12", kAttackMs, 199, R::Bottom, 2, 1, "启动时间"),
    Bar(71, 2, "Group,2,&H13", kReleaseMs, 199, R::Bottom, 3, 1, "释放时间"),
    Button(A::OptionFBX2, 0, 2, "Common,10,&HD", R::Bottom, 2, 0, {}, kOption0),
    Button(A::OptionFBX2, 1, 2, {}, R::Bottom, 2, 0, {}, kOption1),
    Button(A::OptionFBX2, 2, 2, {}, R::Bottom, 2, 0, {}, kOption2),
    Button(A::OptionFBX2, 3, 2, {}, R::Bottom, 2, 0, {}, kOption3),

    // ---- page 3: effects ----
    Strip(157, 3, "EQ,3,8", 0, "Echo EQ1", 0), Strip(158, 3, "EQ,3,9", 1, "Echo EQ2", 0),
    Strip(159, 3, "EQ,3,&HA", 2, "Echo EQ3", 0), Strip(160, 3, "EQ,3,&HB", 3, "Echo EQ4", 0),
    Strip(161, 3, "EQ,3,&HC", 4, "Echo EQ5", 0),
    Strip(162, 3, "EQ,3,&H1A", 0, "Rev EQ1", 1), Strip(163, 3, "EQ,3,&H1B", 1, "Rev EQ2", 1),
    Strip(164, 3, "EQ,3,&H1C", 2, "Rev EQ3", 1), Strip(165, 3, "EQ,3,&H1D", 3, "Rev EQ4", 1),
    Strip(166, 3, "EQ,3,&H1E", 4, "Rev EQ5", 1),
    Strip(167, 3, "EQ,3,&H1F", 0, "EFF EQ1", 2), Strip(168, 3, "EQ,3,&H20", 1, "EFF EQ2", 2),
    Strip(169, 3, "EQ,3,&H21", 2, "EFF EQ3", 2), Strip(170, 3, "EQ,3,&H22", 3, "EFF EQ4", 2),
    Strip(171, 3, "EQ,3,&H23", 4, "EFF EQ5", 2),
    // echo
    Volume(113, 3, "Group,3,&H26", R::Side, 0, 0, "回声效果音量"),
    Volume(114, 3, "Group,3,&H27", R::Side, 0, 1, "回声直达音量"),
    Bar(115, 3, "Group,3,0", kSteps, 250, R::Side, 0, 2, "回声预延时"),
    Bar(116, 3, "Group,3,1", kSteps, 250, R::Side, 0, 3, "回声延时"),
    Bar(117, 3, "Group,3,2", kSteps, 80, R::Side, 1, 0, "回声次数"),
    Bar(118, 3, "Group,3,3", kHighHz, kHighHzMax, R::Side, 1, 1, "回声高频阻尼"),
    Bar(119, 3, "Group,3,4", kSteps, 250, R::Side, 1, 2, "回声右预延时"),
    Bar(120, 3, "Group,3,5", kSteps, 250, R::Side, 1, 3, "回声右延时"),
    Bar(121, 3, "EQF,3,6", kHighPassHz, kHighPassMax, R::Bottom, 0, 0, "回声低切"),
    Bar(122, 3, "EQF,3,7", kLowPassHz, kLowPassMax, R::Bottom, 0, 1, "回声高切"),
    // reverb
    List(5, 3, "Group,3,&H2A", 3, R::Side, 2, 0, "混响模式"),
    Volume(123, 3, "Group,3,&H28", R::Side, 2, 1, "混响效果音量"),
    Volume(124, 3, "Group,3,&H29", R::Side, 2, 2, "混响直达音量"),
    Bar(139, 3, "Group,3,&H10", kSteps, 250, R::Side, 2, 3, "混响预延时"),
    Bar(138, 3, "Group,3,&H14", 14, 900, R::Bottom, 1, 0, "混响时间"),
    Bar(135, 3, "EQF,3,&HD", kHighPassHz, kHighPassMax, R::Bottom, 1, 1, "混响低切"),
    Bar(140, 3, "EQF,3,&HE", kLowPassHz, kLowPassMax, R::Bottom, 2, 1, "混响高切"),
    Volume(125, 3, "Group,3,&H24", R::Bottom, 2, 0, {}),
    Volume(126, 3, "Group,3,&H25", R::Bottom, 3, 0, {}),
    // the professional reverb window opened from this page
    Bar(0, 3, "Group,3,&HF", kHighHz, kHighHzMax, R::Dialog, 0, 0, "混响高频阻尼"),
    Bar(1, 3, "Group,3,&H12", kHighHz, kHighHzMax, R::Dialog, 1, 0, "早期反射高频阻尼"),
    Bar(2, 3, "Group,3,&H15", kHighHz, kHighHzMax, R::Dialog, 2, 0, "后期反射高频阻尼"),
    Bar(3, 3, "Group,3,&H18", kSteps, 80, R::Dialog, 0, 1, "早期反射音量"),
    Bar(4, 3, "Group,3,&H19", kSteps, 80, R::Dialog, 1, 1, "后期反射音量"),
    Bar(5, 3, "Group,3,&H16", kSteps, 80, R::Dialog, 2, 1, "混响空间"),
    Bar(6, 3, "Group,3,&H11", kSteps, 250, R::Dialog, 0, 2, "早期反射延时"),
    Bar(7, 3, "Group,3,&H13", kSteps, 250, R::Dialog, 1, 2, "后期反射延时"),
    Bar(8, 3, "Group,3,&H17", kSteps, 80, R::Dialog, 2, 2, "混响密度"),

    // ---- page 4: main output ----
    Strip(50, 4, "EQ,4,8", 0, "EQ1"), Strip(51, 4, "EQ,4,9", 1, "EQ2"),
    Strip(52, 4, "EQ,4,&HA", 2, "EQ3"), Strip(53, 4, "EQ,4,&HB", 3, "EQ4"),
    Strip(54, 4, "EQ,4,&HC", 4, "EQ5"), Strip(55, 4, "EQ,4,&HD", 5, "EQ6"),
    Strip(56, 4, "EQ,4,&HE", 6, "EQ7"), Strip(57, 4, "EQ,4,&HF", 7, "EQ8"),
    Strip(58, 4, "EQ,4,&H10", 8, "EQ9"), Strip(59, 4, "EQ,4,&H11", 9, "EQ10"),
    Volume(79, 4, "Group,4,0", R::Side, 0, 0, "音乐音量"),
    Volume(80, 4, "Group,4,1", R::Side, 0, 1, "话筒音量"),
    Volume(81, 4, "Group,4,2", R::Side, 0, 2, "回声音量"),
    Volume(82, 4, "Group,4,3", R::Side, 0, 3, "混响音量"),
    Volume(83, 4, "Group,4,4", R::Side, 1, 0, "左通道音量"),
    Volume(84, 4, "Group,4,5", R::Side, 1, 1, "右通道音量"),
    Volume(85, 4, "Group,4,&H18", R::Side, 1, 2, {}),
    List(7, 4, "EQT,4,6", 1, R::Side, 1, 3, "高通滤波器类型"),
    Bar(86, 4, "EQF,4,7", kHighPassHz, kHighPassMax, R::Bottom, 0, 0, "高通滤波器频点"),
    Bar(87, 4, "Group,4,&H12", kThresholdDb, 400, R::Bottom, 1, 0, "启动电平"),
    Bar(88, 4, "Group,4,&H13", kRatio, 180, R::Bottom, 2, 0, "压缩比例"),
    Bar(89, 4, "Group,4,&H14", kAttackMs, 199, R::Bottom, 3, 0, "启动时间"),
    Bar(90, 4, "Group,4,&H15", kReleaseMs, 199, R::Bottom, 4, 0, "释放时间"),
    Bar(98, 4, "Group,4,&H16", kDelayMs, 100, R::Bottom, 0, 1, "左通道延时"),
    Bar(99, 4, "Group,4,&H17", kDelayMs, 100, R::Bottom, 1, 1, "右通道延时"),
    Button(A::MyMute, 0, 4, "&HA10", R::Bottom, 2, 1, {}),
    Button(A::MyMute, 1, 4, "&HA11", R::Bottom, 3, 1, {}),

    // ---- page 5: auxiliary output ----
    Strip(72, 5, "EQ,5,8", 0, "EQ1"), Strip(73, 5, "EQ,5,9", 1, "EQ2"),
    Strip(74, 5, "EQ,5,&HA", 2, "EQ3"), Strip(75, 5, "EQ,5,&HB", 3, "EQ4"),
    Strip(76, 5, "EQ,5,&HC", 4, "EQ5"), Strip(77, 5, "EQ,5,&HD", 5, "EQ6"),
    Strip(78, 5, "EQ,5,&HE", 6, "EQ7"),
    Volume(100, 5, "Group,5,0", R::Side, 0, 0, "音乐音量"),
    Volume(101, 5, "Group,5,1", R::Side, 0, 1, "话筒音量"),
    Volume(102, 5, "Group,5,2", R::Side, 0, 2, "回声音量"),
    Volume(103, 5, "Group,5,3", R::Side, 0, 3, "混响音量"),
    Volume(104, 5, "Group,5,4", R::Side, 1, 0, "左通道音量"),
    Volume(105, 5, "Group,5,5", R::Side, 1, 1, "右通道音量"),
    Volume(106, 5, "Group,5,&H15", R::Side, 1, 2, {}),
    List(8, 5, "EQT,5,6", 1, R::Side, 1, 3, "高通滤波器类型"),
    Bar(107, 5, "EQF,5,7", kHighPassHz, kHighPassMax, R::Bottom, 0, 0, "高通滤波器频点"),
    Bar(143, 5, "Group,5,&HF", kThresholdDb, 400, R::Bottom, 1, 0, "启动电平"),
    Bar(144, 5, "Group,5,&H10", kRatio, 180, R::Bottom, 2, 0, "压缩比例"),
    Bar(145, 5, "Group,5,&H11", kAttackMs, 199, R::Bottom, 3, 0, "启动时间"),
    Bar(146, 5, "Group,5,&H12", kReleaseMs, 199, R::Bottom, 4, 0, "释放时间"),
    Bar(147, 5, "Group,5,&H13", kDelayMs, 100, R::Bottom, 0, 1, "左通道延时"),
    Bar(148, 5, "Group,5,&H14", kDelayMs, 100, R::Bottom, 1, 1, "右通道延时"),
    Button(A::MyMute, 2, 5, "&HA12", R::Bottom, 2, 1, {}),
    Button(A::MyMute, 3, 5, "&HA13", R::Bottom, 3, 1, {}),

    // ---- page 6: centre output ----
    Strip(91, 6, "EQ,6,7", 0, "EQ1"), Strip(92, 6, "EQ,6,8", 1, "EQ2"),
    Strip(93, 6, "EQ,6,9", 2, "EQ3"), Strip(94, 6, "EQ,6,10", 3, "EQ4"),
    Strip(95, 6, "EQ,6,11", 4, "EQ5"), Strip(96, 6, "EQ,6,12", 5, "EQ6"),
    Strip(97, 6, "EQ,6,13", 6, "EQ7"),
    Volume(149, 6, "Group,6,0", R::Side, 0, 0, "音乐音量"),
    Volume(150, 6, "Group,6,1", R::Side, 0, 1, "话筒音量"),
    Volume(151, 6, "Group,6,2", R::Side, 0, 2, "回声音量"),
    Volume(152, 6, "Group,6,3", R::Side, 0, 3, "混响音量"),
    Volume(153, 6, "Group,6,4", R::Side, 1, 0, "中置通道音量"),
    Volume(154, 6, "Group,6,&H13", R::Side, 1, 1, {}),
    List(9, 6, "EQT,6,5", 1, R::Side, 1, 3, "高通滤波器类型"),
    Bar(155, 6, "EQF,6,6", kHighPassHz, kHighPassMax, R::Bottom, 0, 0, "高通滤波器频点"),
    Bar(156, 6, "Group,6,&HE", kThresholdDb, 400, R::Bottom, 1, 0, "启动电平"),
    Bar(172, 6, "Group,6,&HF", kRatio, 180, R::Bottom, 2, 0, "压缩比例"),
    Bar(173, 6, "Group,6,&H10", kAttackMs, 199, R::Bottom, 3, 0, "启动时间"),
    Bar(174, 6, "Group,6,&H11", kReleaseMs, 199, R::Bottom, 4, 0, "释放时间"),
    Bar(175, 6, "Group,6,&H12", kDelayMs, 100, R::Bottom, 0, 1, "中置通道延时"),
    Button(A::MyMute, 4, 6, "&HA14", R::Bottom, 1, 1, {}),

    // ---- page 7: subwoofer output ----
    Strip(108, 7, "EQ,7,&HB", 0, "EQ1"), Strip(109, 7, "EQ,7,&HC", 1, "EQ2"),
    Strip(110, 7, "EQ,7,&HD", 2, "EQ3"), Strip(111, 7, "EQ,7,&HE", 3, "EQ4"),
    Strip(112, 7, "EQ,7,&HF", 4, "EQ5"),
    Volume(176, 7, "Group,7,0", R::Side, 0, 0, "音乐音量"),
    Volume(177, 7, "Group,7,1", R::Side, 0, 1, "话筒音量"),
    Volume(178, 7, "Group,7,2", R::Side, 0, 2, {}),
    Volume(179, 7, "Group,7,3", R::Side, 0, 3, "超低音音量"),
    List(10, 7, "EQT,7,7", 0, R::Side, 1, 0, "高通滤波器类型"),
    Bar(180, 7, "EQF,7,8", kHighPassHz, kHighPassMax, R::Side, 1, 1, "高通滤波器频点"),
    List(11, 7, "EQT,7,9", 0, R::Side, 1, 2, "低通滤波器类型"),
    Bar(181, 7, "EQF,7,&HA", kHighPassHz, kHighPassMax, R::Side, 1, 3, "低通滤波器频点"),
    Bar(182, 7, "Group,7,&H10", kThresholdDb, 400, R::Bottom, 0, 0, "启动电平"),
    Bar(183, 7, "Group,7,&H11", kRatio, 180, R::Bottom, 1, 0, "压缩比例"),
    Bar(184, 7, "Group,7,&H12", kAttackMs, 199, R::Bottom, 2, 0, "启动时间"),
    Bar(185, 7, "Group,7,&H13", kReleaseMs, 199, R::Bottom, 3, 0, "释放时间"),
    Bar(186, 7, "Group,7,&H14", kDelayMs, 100, R::Bottom, 4, 0, "超低音通道延时"),
    Button(A::MyBTN, 0, 7, "Group,7,&H15", R::Side, 2, 0, "控制对象：音乐通道"),
    Button(A::MyBTN, 1, 7, "Group,7,&H16", R::Side, 2, 1, "控制对象：主输出通道"),
    Button(A::MyBTN, 2, 7, "Group,7,&H17", R::Side, 2, 2, "控制对象：辅助通道"),
    Button(A::MyBTN, 3, 7, "Group,7,&H18", R::Side, 2, 3, "控制对象：中置通道"),
    Button(A::MyBTN, 4, 7, "Group,7,&H19", R::Bottom, 0, 1, "控制对象：超低音通道"),
    Button(A::MyBTN, 5, 7, "Group,7,6", R::Bottom, 1, 1, "超低音相位"),
    Button(A::MyBTN, 6, 7, "Group,7,4", R::Bottom, 2, 1, {}),
    Button(A::MyBTN, 7, 7, "Group,7,5", R::Bottom, 3, 1, {}),
    Button(A::MyMute, 5, 7, "&HA15", R::Bottom, 4, 1, {}),
};

// Design rows in twips. Pages 2 and 6 have no rows of their own in the design: they share
// the rows of the pages they mirror (1 and 5); page 3's groups are placed by the effect view.
constexpr std::array kStripRows{
    StripRow{0, 3, 15, 220, 760, 460},   StripRow{1, 18, 15, 132, 755, 630},
    StripRow{2, 35, 15, 132, 755, 630},  StripRow{3, 157, 15, 132, 754, 570},
    StripRow{4, 50, 10, 210, 753, 460},  StripRow{5, 72, 7, 180, 760, 1570},
    StripRow{6, 91, 7, 180, 760, 1570},  StripRow{7, 108, 5, 350, 763, 720},
};

constexpr std::array<std::string_view, kPageCount> kPageCaptions{
    "音乐", "话筒1.2", "话筒3.4", "效果", "主输出", "辅助输出", "中置输出", "超低输出"};

}  // namespace

std::span<const ControlDecl> PageControls() {
    return kControls;
}

std::span<const StripRow> StripRows() {
    return kStripRows;
}

const StripRow* StripRowOf(const ControlDecl& decl) {
    if (decl.Where != Region::Strips) return nullptr;
    for (const StripRow& row : kStripRows)
        if (row.Page == decl.Page && decl.Index >= row.FirstIndex &&
            decl.Index < row.FirstIndex + row.Count)
            return &row;
    return nullptr;
}

std::string_view PageCaption(int page) {
    if (page < 0 || page >= kPageCount) return {};
    return kPageCaptions[static_cast<std::size_t>(page)];
}

}  // namespace vellora::editor
