// The processor's menu items by name and address, for menu kinds 0..9, and the kind names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellora::model {

struct MenuItemEntry {
    std::string_view name;  ///< UTF-8, the processor's own word
    int address = 0;        ///< menu address; the ParamIndex is kind x 256 + address
};

/// Number of items in the list of a menu kind (0..9); 0 for kind 10 and unknown kinds.
int MenuItemCount(int kind);
/// The j-th item of a kind's list, in list order; nullopt outside 0 .. count - 1.
std::optional<MenuItemEntry> MenuItem(int kind, int j);
/// Name of a menu item by ParamIndex, if the kind's list names it (first match in list order).
std::optional<std::string_view> ItemNameOf(int index);
/// The name of a menu kind 0..9 ("音乐", "话筒1.2", ...); empty for kind 10, which has none,
/// and for unknown kinds.
std::string_view MenuKindName(int kind);

}  // namespace vellora::model
