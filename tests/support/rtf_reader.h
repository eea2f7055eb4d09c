// Reads back the Rich Text the in-process document writes: the text (with
// \uN? escapes and \par turned back into characters and CR LF) and the face
// and half-point size in force at every character, for Latin text and for
// complex scripts (the associated face and size).
#pragma once

#include <cctype>
#include <map>
#include <string>
#include <vector>

struct RtfRead {
  std::u16string text;
  std::vector<std::u16string> faces;  // per character
  std::vector<int> halfPoints;        // per character
  std::vector<std::u16string> complexFaces;  // per character: \af
  std::vector<int> complexHalfPoints;        // per character: \afs
  std::map<int, std::u16string> fontTable;
};

inline RtfRead ReadRtf(const std::string& rtf) {
  RtfRead out;
  int depth = 0, fontTableDepth = -1, font = 0, size = 24, tableIndex = -1, complexFont = 0, complexSize = 24;
  std::u16string tableName;
  auto put = [&](char16_t c) {
    if (fontTableDepth >= 0) {
      if (c == u';') out.fontTable[tableIndex] = tableName, tableName.clear();
      else tableName += c;
      return;
    }
    out.text += c;
    out.faces.push_back(out.fontTable[font]);
    out.halfPoints.push_back(size);
    out.complexFaces.push_back(out.fontTable[complexFont]);
    out.complexHalfPoints.push_back(complexSize);
  };
  for (size_t i = 0; i < rtf.size();) {
    char c = rtf[i];
    if (c == '{') {
      ++depth, ++i;
    } else if (c == '}') {
      if (depth == fontTableDepth) fontTableDepth = -1;
      --depth, ++i;
    } else if (c == '\r' || c == '\n') {
      ++i;
    } else if (c != '\\') {
      put(static_cast<unsigned char>(c)), ++i;
    } else if (i + 1 < rtf.size() && !std::isalpha(static_cast<unsigned char>(rtf[i + 1]))) {
      put(static_cast<unsigned char>(rtf[i + 1])), i += 2;
    } else {
      size_t j = ++i;
      while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) ++j;
      std::string word = rtf.substr(i, j - i);
      size_t k = j;
      if (k < rtf.size() && (rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(rtf[k])))) ++k;
      while (k < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[k]))) ++k;
      int number = k > j ? std::stoi(rtf.substr(j, k - j)) : 0;
      if (k < rtf.size() && rtf[k] == ' ') ++k;
      i = k;
      if (word == "fonttbl") fontTableDepth = depth;
      else if (word == "f" && fontTableDepth >= 0) tableIndex = number;
      else if (word == "f") font = number;
      else if (word == "fs") size = number;
      else if (word == "af") complexFont = number;
      else if (word == "afs") complexSize = number;
      else if (word == "par") put(u'\r'), put(u'\n');
      else if (word == "tab") put(u'\t');
      else if (word == "u") put(static_cast<char16_t>(number < 0 ? number + 65536 : number)), ++i;
    }
  }
  return out;
}
