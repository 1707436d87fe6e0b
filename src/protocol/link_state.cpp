// The link's shared facts and the up and down events.
#include "protocol/link_state.h"

#include <algorithm>

#include "protocol/wire_format.h"

namespace vellora::protocol {

void LinkState::Identified(std::span<const uint8_t> tag) {
    up_ = true;
    tag_.assign(tag.begin(),
                tag.begin() + static_cast<std::ptrdiff_t>(std::min(tag.size(), kDeviceTagLength)));
    variant_b_ = tag.size() > kDeviceVariantAt && tag[kDeviceVariantAt] == 'B';
    start_sync_ = true;
    const auto listeners = listeners_;  // a listener may remove itself
    for (LinkListener* l : listeners) l->LinkCameUp();
}

void LinkState::Lose(LinkLoss why) {
    const bool wasUp = up_;
    up_ = false;
    const auto listeners = listeners_;
    for (LinkListener* l : listeners) l->LinkLost(why, wasUp);
}

void LinkState::AddListener(LinkListener& listener) {
    if (std::find(listeners_.begin(), listeners_.end(), &listener) == listeners_.end())
        listeners_.push_back(&listener);
}

void LinkState::RemoveListener(LinkListener& listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener),
                     listeners_.end());
}

}  // namespace vellora::protocol
