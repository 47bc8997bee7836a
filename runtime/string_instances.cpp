// std::string as the programs use it, compiled here for the i586 rather
// than taken from the library's prebuilt (Pentium Pro) instantiation.
#include <string>

template class std::allocator<char>;
template class std::basic_string<char>;
