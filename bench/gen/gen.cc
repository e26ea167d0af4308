// gen - deterministic test data for the benchmark jobs.
//
//   gen N DIR
//
// writes into DIR:
//   master.dat    N records sorted by key
//   trans.dat     N records sorted by key; about a third of the keys are also in master.dat
//   bystate.dat   N records sorted by state, then by key (input of the report)
//   products.tbl  1000 lookup entries, unsorted: a 4-digit product code and a 20-character
//                 description (the codes are half of the 0000-1999 range the records use)
//
// Every record is exactly 100 bytes followed by a line feed:
//   1-10   key         10 digits
//   11-40  name        "Lastname, Firstname", mixed case, blank-padded
//   41-49  amount      9 digits, cents (below 10,000,000 so that 10^7 records total in 15 digits)
//   50-51  state       2 capital letters
//   52-55  product     4 digits, 0000-1999
//   56-63  date        yyyymmdd
//   64-75  phone       ddd-ddd-dddd
//   76-99  comment     lower-case words, blank-padded
//   100    type        one capital letter A-E
// The same N gives the same bytes on every machine: all randomness is one fixed-seed
// generator per file.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Rng {
  std::uint64_t s;
  std::uint64_t next() {
    std::uint64_t z = (s += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }
};

// States with rough weights, in alphabetical order of the code.
struct State {
  const char* code;
  int weight;
};
const State kStates[] = {
    {"AK", 1},  {"AL", 5},  {"AR", 3},  {"AZ", 7}, {"CA", 39}, {"CO", 6},  {"CT", 4}, {"DE", 1},
    {"FL", 22}, {"GA", 11}, {"HI", 1},  {"IA", 3}, {"ID", 2},  {"IL", 13}, {"IN", 7}, {"KS", 3},
    {"KY", 4},  {"LA", 5},  {"MA", 7},  {"MD", 6}, {"ME", 1},  {"MI", 10}, {"MN", 6}, {"MO", 6},
    {"MS", 3},  {"MT", 1},  {"NC", 11}, {"ND", 1}, {"NE", 2},  {"NH", 1},  {"NJ", 9}, {"NM", 2},
    {"NV", 3},  {"NY", 20}, {"OH", 12}, {"OK", 4}, {"OR", 4},  {"PA", 13}, {"RI", 1}, {"SC", 5},
    {"SD", 1},  {"TN", 7},  {"TX", 30}, {"UT", 3}, {"VA", 9},  {"VT", 1},  {"WA", 8}, {"WI", 6},
    {"WV", 2},  {"WY", 1},
};
constexpr int kStateCount = sizeof(kStates) / sizeof(kStates[0]);

const char* const kLast[] = {
    "Abernathy",   "Baptiste",     "Castellano", "Delacroix", "Eriksen",   "Fairweather",
    "Gallagher",   "Hawthorne",    "Ibarra",     "Jablonski", "Kowalczyk", "Lindqvist",
    "Montague",    "Nakamura",     "Okonkwo",    "Pemberton", "Quintero",  "Rasmussen",
    "Saltonstall", "Thibodeaux",   "Underwood",  "Vasquez",   "Whitcombe", "Xenakis",
    "Yamamoto",    "Zielinski",    "Brown",      "Lee",       "Ng",        "Ostrowski-Hale",
    "McAllister",  "Van Der Berg",
};
const char* const kFirst[] = {
    "Ada",    "Bartholomew", "Carmen",  "Dmitri",   "Esther",  "Fernando", "Grace",
    "Hiro",   "Imogen",      "Jamal",   "Katya",    "Leopold", "Maribel",  "Nils",
    "Odette", "Priya",       "Quentin", "Rosalind", "Stellan", "Tomasz",   "Uma",
    "Viktor", "Winifred",    "Yusuf",   "Zora",     "Al",
};
const char* const kWords[] = {
    "paid", "late", "memo",  "due",  "hold",  "ok",        "refund",  "credit",
    "call", "ship", "rush",  "note", "check", "follow-up", "re-bill", "wire",
    "memo", "back", "order", "net",  "disc",  "partial",
};
const char* const kAdjectives[] = {
    "Brass", "Steel", "Oak",  "Nylon", "Copper", "Rubber", "Glass", "Cedar",
    "Heavy", "Light", "Mini", "Jumbo", "Matte",  "Glossy", "Round", "Square",
};
const char* const kNouns[] = {
    "Hinge", "Bracket", "Gasket", "Washer", "Spindle", "Flange", "Sprocket", "Bushing",
    "Clamp", "Valve",   "Pulley", "Nozzle", "Rivet",   "Spacer", "Coupler",  "Lever",
};

template <typename T, std::size_t N>
constexpr std::uint32_t count_of(const T (&)[N]) {
  return static_cast<std::uint32_t>(N);
}

// Fills rec[0..99] for the given key and state; rec[100] is the line feed.
void make_record(Rng& r, std::uint64_t key, const char* state, char* rec) {
  std::memset(rec, ' ', 100);
  rec[100] = '\n';
  char tmp[64];
  std::snprintf(tmp, sizeof tmp, "%010llu", static_cast<unsigned long long>(key));
  std::memcpy(rec, tmp, 10);
  int n = std::snprintf(tmp, sizeof tmp, "%s, %s", kLast[r.below(count_of(kLast))],
                        kFirst[r.below(count_of(kFirst))]);
  std::memcpy(rec + 10, tmp, static_cast<std::size_t>(std::min(n, 30)));
  // Mostly small amounts, some large, a few zero.
  std::uint32_t amount;
  std::uint32_t pick = r.below(100);
  if (pick < 2) {
    amount = r.below(100);
  } else if (pick < 90) {
    amount = r.below(100000);
  } else {
    amount = r.below(10000000);
  }
  std::snprintf(tmp, sizeof tmp, "%09u", amount);
  std::memcpy(rec + 40, tmp, 9);
  std::memcpy(rec + 49, state, 2);
  std::snprintf(tmp, sizeof tmp, "%04u", r.below(2000));
  std::memcpy(rec + 51, tmp, 4);
  std::snprintf(tmp, sizeof tmp, "%04u%02u%02u", 2020 + r.below(7), 1 + r.below(12),
                1 + r.below(28));
  std::memcpy(rec + 55, tmp, 8);
  std::snprintf(tmp, sizeof tmp, "%03u-%03u-%04u", 200 + r.below(800), r.below(1000),
                r.below(10000));
  std::memcpy(rec + 63, tmp, 12);
  // Comment: 0 to 5 words, cut to 24 columns.
  std::string comment;
  std::uint32_t words = r.below(6);
  for (std::uint32_t w = 0; w < words; ++w) {
    if (!comment.empty())
      comment += ' ';
    comment += kWords[r.below(count_of(kWords))];
  }
  std::memcpy(rec + 75, comment.data(), std::min<std::size_t>(comment.size(), 24));
  rec[99] = static_cast<char>('A' + r.below(5));
}

struct Out {
  std::FILE* f;
  std::vector<char> buf;
  explicit Out(const std::string& path) : f(std::fopen(path.c_str(), "wb")), buf(1 << 20) {
    if (f == nullptr) {
      std::perror(path.c_str());
      std::exit(1);
    }
    std::setvbuf(f, buf.data(), _IOFBF, buf.size());
  }
  void put(const char* rec) { std::fwrite(rec, 1, 101, f); }
  ~Out() { std::fclose(f); }
};

// Draws a state by weight.
struct StatePicker {
  std::vector<int> bucket;
  StatePicker() {
    for (int i = 0; i < kStateCount; ++i) {
      for (int w = 0; w < kStates[i].weight; ++w) bucket.push_back(i);
    }
  }
  const char* pick(Rng& r) {
    return kStates[bucket[r.below(static_cast<std::uint32_t>(bucket.size()))]].code;
  }
};

void write_master_and_trans(std::uint64_t n, const std::string& dir) {
  Out master(dir + "/master.dat");
  Out trans(dir + "/trans.dat");
  Rng keys{1};
  Rng mrec{2};
  Rng trec{3};
  StatePicker states;
  char rec[101];
  std::uint64_t key = 1000000;
  std::uint64_t in_master = 0;
  std::uint64_t in_trans = 0;
  while (in_master < n || in_trans < n) {
    key += 1 + keys.below(9);
    // 0: master only, 1: both, 2: transaction only.
    std::uint32_t kind = keys.below(3);
    if (kind != 2 && in_master < n) {
      make_record(mrec, key, states.pick(mrec), rec);
      master.put(rec);
      ++in_master;
    }
    if (kind != 0 && in_trans < n) {
      make_record(trec, key, states.pick(trec), rec);
      trans.put(rec);
      ++in_trans;
    }
  }
}

void write_bystate(std::uint64_t n, const std::string& dir) {
  Out out(dir + "/bystate.dat");
  Rng r{4};
  int total_weight = 0;
  for (const State& s : kStates) total_weight += s.weight;
  char rec[101];
  std::uint64_t written = 0;
  std::uint64_t key = 5000000;
  for (int i = 0; i < kStateCount; ++i) {
    std::uint64_t group = (i == kStateCount - 1)
                              ? n - written
                              : n * static_cast<std::uint64_t>(kStates[i].weight) /
                                    static_cast<std::uint64_t>(total_weight);
    for (std::uint64_t j = 0; j < group; ++j) {
      key += 1 + r.below(9);
      make_record(r, key, kStates[i].code, rec);
      out.put(rec);
    }
    written += group;
  }
}

void write_products(const std::string& dir) {
  std::FILE* f = std::fopen((dir + "/products.tbl").c_str(), "wb");
  if (f == nullptr) {
    std::perror("products.tbl");
    std::exit(1);
  }
  Rng r{5};
  std::vector<std::uint32_t> codes(2000);
  for (std::uint32_t i = 0; i < 2000; ++i) codes[i] = i;
  for (std::uint32_t i = 1999; i > 0; --i) std::swap(codes[i], codes[r.below(i + 1)]);
  for (std::uint32_t i = 0; i < 1000; ++i) {
    char desc[64];
    std::snprintf(desc, sizeof desc, "%s %s", kAdjectives[r.below(count_of(kAdjectives))],
                  kNouns[r.below(count_of(kNouns))]);
    // Description: words, blank-padded to 15, then a 5-character size code: 20 characters
    // that never end in a blank.
    std::fprintf(f, "%04u%-15.15s%c%04u\n", codes[i], desc, 'A' + r.below(26), r.below(10000));
  }
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gen N DIR\n");
    return 2;
  }
  char* end = nullptr;
  unsigned long long n = std::strtoull(argv[1], &end, 10);
  if (*end != '\0' || n == 0) {
    std::fprintf(stderr, "gen: N must be a positive number\n");
    return 2;
  }
  std::string dir = argv[2];
  write_master_and_trans(n, dir);
  write_bystate(n, dir);
  write_products(dir);
  return 0;
}
