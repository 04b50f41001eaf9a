#include "connect/dialdata.h"

#include "platform/codepage.h"

namespace dialdata {
std::string& UserName() {
    static std::string s;
    return s;
}
std::string& Password() {
    static std::string s;
    return s;
}
std::string& SavedProfileName() {
    static std::string s;
    return s;
}
std::string Limit(const std::string& text, std::size_t max) {
    return text.substr(0, codepage::CutLength(text.data(), text.size(), max));
}
}  // namespace dialdata
