#pragma once
// The author's addresses, shown in the about box and opened by the main window.

namespace vx {

inline constexpr wchar_t kAuthorWebSite[] = L"http://www.example.com/vexlo";
inline constexpr wchar_t kDonationPage[] = L"http://www.example.com/vexlo/donate";
inline constexpr wchar_t kAuthorMail[] = L"vexlo@example.com";

}  // namespace vx
