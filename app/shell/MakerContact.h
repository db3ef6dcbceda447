#pragma once

// Where the operator reaches the maker: shown by the About window and used by the error
// report's mail button.
inline constexpr const char* SupportMailAddress = "support@kelvo.sk";
inline constexpr const char* MakerWebAddress = "www.kelvo.sk";
