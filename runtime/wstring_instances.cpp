// std::wstring as the programs use it, compiled here for the i586 rather
// than taken from the library's prebuilt (Pentium Pro) instantiation.
#include <string>

template class std::allocator<wchar_t>;
template class std::basic_string<wchar_t>;
