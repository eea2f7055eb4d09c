// Memory taken by an indexed map load, against the size of the map file, on
// crafted maps of several shapes written as the program writes maps (UTF-16
// LE, CR LF). Each map is loaded by a fresh copy of this program, so that
// its peak resident size belongs to that one load.
//   map_memory_bench            every shape, one line each
//   map_memory_bench FILE.fmp   the peak of loading one file
// Goal: peak growth during the load (over the peak before it, about 3 MB)
// at most 16 times the file size + 4 MB.
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "VarunelComms.h"
#include "codepage.h"

namespace {

constexpr double kFactor = 16;
constexpr double kSlackMb = 4;

// Peak resident size of this process so far, in bytes.
long PeakRss() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6)) * 1024;
  return 0;
}

int LoadOne(const char* path) {
  const long before = PeakRss();
  TCharCollection map;
  try {
    map.LoadFromFile(path, true);
  } catch (const std::exception& e) {
    std::printf("error %s\n", e.what());
    return 1;
  }
  std::printf("%ld %ld %d\n", before, PeakRss(), map.Count());
  return 0;
}

// Map text in the written form, built line by line.
class MapText {
 public:
  MapText() {
    for (const char16_t* l : {u"[font]", u"Crafted", u"", u"[map_layout]", u"", u""}) Line(l);
  }
  void Line(std::u16string_view l) {
    for (char16_t c : l) Put(c);
    Put(u'\r');
    Put(u'\n');
  }
  std::string bytes{"\xFF\xFE"};

 private:
  void Put(char16_t c) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
};

class Random {
 public:
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  // `len` characters of the code page between 0x21 and 0xFF, "=" left out.
  std::u16string Wide(int len) {
    std::u16string s;
    while (static_cast<int>(s.size()) < len) {
      const int b = Int(0x21, 0xFF);
      if (b != '=') s += codepage::WidenChar(static_cast<unsigned char>(b));
    }
    return s;
  }
  std::u16string Letters(int len) {
    std::u16string s;
    for (int i = 0; i < len; ++i) s += static_cast<char16_t>(u'a' + Int(0, 25));
    return s;
  }

 private:
  std::mt19937 rng_{2024};
};

// Six-character keys over the whole code page, hardly sharing a prefix, with
// six-character font codes: the widest index per combination.
std::string LongDistinctKeys(int combinations) {
  MapText t;
  Random r;
  for (int done = 0; done < combinations;) {
    t.Line(r.Wide(2));
    t.Line(r.Wide(1));
    t.Line(u"<!--");
    for (int c = 0; c < 1000 && done < combinations; ++c, ++done) t.Line(r.Wide(6) + u"=" + r.Wide(6));
    t.Line(u"-->");
  }
  return t.bytes;
}

// Base characters without combinations.
std::string ManyItems(int items) {
  MapText t;
  Random r;
  for (int i = 0; i < items; ++i) {
    t.Line(r.Letters(r.Int(1, 3)));
    t.Line(r.Wide(1));
    t.Line(u"<!--");
    t.Line(u"-->");
  }
  return t.bytes;
}

// A thousand base characters with a thousand combinations each, short keys
// and codes as in a real map.
std::string ManyCombinations(int combinations) {
  MapText t;
  Random r;
  for (int done = 0; done < combinations;) {
    const std::u16string base = r.Letters(1);
    t.Line(base);
    t.Line(r.Wide(1));
    t.Line(u"<!--");
    for (int c = 0; c < 1000 && done < combinations; ++c, ++done)
      t.Line(base + r.Letters(r.Int(0, 5)) + u"=" + r.Wide(r.Int(1, 3)));
    t.Line(u"-->");
  }
  return t.bytes;
}

struct Shape {
  const char* name;
  std::function<std::string()> make;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) return LoadOne(argv[1]);

  char pattern[] = "/tmp/varunel-mapmem-XXXXXX";
  const std::filesystem::path folder = ::mkdtemp(pattern);
  const std::vector<Shape> shapes = {
      {"the default map", [] {
         std::ifstream in(VARUNEL_DEFAULT_MAP, std::ios::binary);
         return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
       }},
      {"long distinct keys, 64 KB", [] { return LongDistinctKeys(2100); }},
      {"long distinct keys, 10^5", [] { return LongDistinctKeys(100000); }},
      {"items, 10^6", [] { return ManyItems(1000000); }},
      {"combinations, 10^6", [] { return ManyCombinations(1000000); }},
  };
  std::printf("%-28s %8s %8s %10s %8s %8s\n", "shape", "file MB", "peak MB", "growth MB", "x file", "goal MB");
  int over = 0;
  for (const Shape& shape : shapes) {
    const std::filesystem::path file = folder / "crafted.fmp";
    const std::string bytes = shape.make();
    if (bytes.empty()) continue;  // no default map built
    std::ofstream(file, std::ios::binary) << bytes;
    const std::string command = "'" + std::string(argv[0]) + "' '" + file.string() + "'";
    long before = 0, peak = 0;
    int count = 0;
    if (FILE* p = ::popen(command.c_str(), "r")) {
      if (std::fscanf(p, "%ld %ld %d", &before, &peak, &count) != 3) peak = -1;
      ::pclose(p);
    }
    const double fileMb = static_cast<double>(bytes.size()) / (1 << 20);
    const double growthMb = static_cast<double>(peak - before) / (1 << 20);
    const double goalMb = kFactor * fileMb + kSlackMb;
    const bool ok = peak > 0 && growthMb <= goalMb;
    over += ok ? 0 : 1;
    std::printf("%-28s %8.2f %8.1f %10.1f %8.1f %8.1f  %s\n", shape.name, fileMb,
                static_cast<double>(peak) / (1 << 20), growthMb, growthMb / fileMb, goalMb,
                peak < 0 ? "load failed" : ok ? "ok" : "over");
    std::filesystem::remove(file);
  }
  std::filesystem::remove_all(folder);
  return over == 0 ? 0 : 1;
}
