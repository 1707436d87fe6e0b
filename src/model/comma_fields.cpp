// The comma splitter.
#include "model/comma_fields.h"

namespace vellora::model {

std::vector<std::string_view> SplitCommas(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

}  // namespace vellora::model
