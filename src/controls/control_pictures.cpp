// The controls' pictures: the natural size of every number, and their registration by
// control (sliders, flag buttons, list boxes), each drawn in the graph's dark console style.
#include "controls/control_pictures.h"

#include "controls/button_pictures.h"
#include "controls/combo_lists.h"
#include "controls/combo_pictures.h"
#include "controls/slider_pictures.h"
#include "graph/picture_store.h"

namespace vellora::controls {

namespace {

struct SizeRow {
    int number, w, h;
};
// Natural sizes of every picture of the controls, in logical pixels.
constexpr SizeRow kSizes[] = {
    {101, 24, 16},  {102, 24, 16},  {103, 74, 178}, {104, 74, 178}, {105, 26, 10},  {107, 24, 16},
    {108, 15, 22},  {110, 60, 22},  {112, 43, 178}, {113, 43, 178}, {129, 16, 18},  {130, 16, 18},
    {131, 16, 18},  {132, 16, 18},  {133, 16, 18},  {134, 16, 18},  {135, 150, 40}, {136, 150, 40},
    {137, 15, 22},  {138, 32, 15},  {139, 58, 16},  {140, 180, 30}, {141, 180, 30}, {142, 50, 22},
    {143, 50, 22},  {144, 82, 20},  {150, 138, 21}, {151, 12, 10},  {152, 12, 10},  {182, 127, 127},
    {196, 64, 22},  {197, 64, 22},  {198, 64, 22},  {199, 64, 22},  {218, 64, 24},  {219, 64, 24},
    {220, 182, 28}, {221, 182, 28}, {227, 10, 8},   {228, 10, 8},   {269, 30, 16},  {270, 24, 16},
    {271, 150, 40}, {272, 43, 178}, {273, 180, 30}, {274, 182, 28}, {275, 150, 40}, {276, 43, 178},
    {277, 180, 30}, {294, 24, 11},  {295, 24, 11},  {300, 16, 18},  {301, 16, 18},  {302, 16, 18},
    {304, 50, 22},  {305, 50, 22},  {308, 12, 10},  {309, 12, 10},  {310, 12, 10},  {311, 12, 10},
    {312, 60, 22},  {316, 138, 21}, {317, 60, 22},  {359, 96, 24},  {361, 96, 24},  {362, 96, 24},
    {374, 43, 224}, {375, 43, 224}, {376, 43, 224}, {377, 43, 224}, {378, 64, 22},  {379, 64, 22},
    {380, 64, 22},  {381, 64, 22},  {382, 34, 15},
};

}  // namespace

PictureSizeWH ControlPictureSize(int number) {
    for (const SizeRow& row : kSizes)
        if (row.number == number) return {row.w, row.h};
    for (int showType = 0; showType < kShowTypeCount; ++showType) {
        const ComboFace& face = ComboFaceOf(showType);
        const int count = static_cast<int>(ComboItems(showType).size());
        if (number >= face.itemBase && number < face.itemBase + count)
            return {face.itemW, face.itemH};
    }
    return {};
}

void RegisterControlPictures(graph::PictureStore& store) {
    RegisterSliderPictures(store);
    RegisterButtonPictures(store);
    RegisterComboPictures(store);
}

}  // namespace vellora::controls
