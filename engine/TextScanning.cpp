#include <cctype>
#include <cstring>

#include "Utility.h"

char SkipWhiteSpace(const char*& text) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  return *text;
}

int SkipToDelimiter(const char*& text, const char* set) {
  SkipWhiteSpace(text);
  // The set's order decides, not the position in the text.
  for (const char* d = set; *d; ++d) {
    if (const char* found = std::strchr(text, *d)) {
      text = found;
      return 0;
    }
  }
  text += std::strlen(text);
  return -1;
}

int AtDelimiter(const char*& text, const char* set) {
  const char c = SkipWhiteSpace(text);
  return (c != '\0' && std::strchr(set, c)) ? 0 : -1;
}
