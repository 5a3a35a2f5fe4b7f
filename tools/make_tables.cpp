// Writes the twelve reference tables: crt_1.txt .. crt_8.txt (5001 values
// each) and waku_1.txt .. waku_4.txt (1201 values each), one value per line
// with CR LF line ends. Mostly values the engines accept, and on purpose some
// they skip (0, negatives, values above 9 and above 43). Deterministic.
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

struct Lcg {
  std::uint64_t state;
  std::uint32_t next() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return std::uint32_t(state >> 33);
  }
  int between(int lo, int hi) { return lo + int(next() % std::uint32_t(hi - lo + 1)); }
};

int crt_value(Lcg& r) {
  const int p = r.between(0, 99);
  if (p < 78) return r.between(1, 9);    // digits every engine takes
  if (p < 86) return r.between(10, 18);  // horse numbers
  if (p < 90) return r.between(19, 43);  // lucky values of the makai engine
  if (p < 94) return 0;
  if (p < 96) return -r.between(1, 5);
  return r.between(44, 99);  // above every range
}

int waku_value(Lcg& r) {
  const int p = r.between(0, 99);
  if (p < 88) return r.between(1, 9);
  if (p < 94) return 0;
  if (p < 97) return r.between(10, 12);
  return -r.between(1, 3);
}

bool write(const std::string& path, int count, int (*value)(Lcg&), std::uint64_t seed) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  Lcg r{seed};
  for (int i = 0; i < count; ++i) std::fprintf(f, "%d\r\n", value(r));
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  bool ok = true;
  for (int n = 1; n <= 8; ++n)
    ok &= write(dir + "/crt_" + std::to_string(n) + ".txt", 5001, crt_value, 1000 + n);
  for (int n = 1; n <= 4; ++n)
    ok &= write(dir + "/waku_" + std::to_string(n) + ".txt", 1201, waku_value, 2000 + n);
  if (!ok) std::fprintf(stderr, "make_tables: cannot write into %s\n", dir.c_str());
  return ok ? 0 : 1;
}
