// The dial data shared by the data-connection window and the credentials
// prompt: the plain user name and password of the next dial (at most 100
// characters each) and the profile name the entry cleanup deletes later.
#pragma once

#include <string>

namespace dialdata {
inline constexpr std::size_t kMaxCredential = 100;
inline constexpr std::size_t kMaxSavedName = 19;
std::string& UserName();
std::string& Password();
std::string& SavedProfileName();
// Cuts a credential to its limit.
std::string Limit(const std::string& text, std::size_t max = kMaxCredential);
}  // namespace dialdata
