// records/files_test.cc
#include "records/files.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "driver/testing.h"

namespace kovran {
namespace {

struct Record {
  std::string text;
  std::size_t full;
};

std::vector<Record> read_all(InFile& in, std::size_t cap) {
  std::vector<Record> out;
  std::string buf(cap, '\0');
  std::size_t stored = 0;
  std::size_t full = 0;
  while (in.read_record(buf.data(), cap, stored, full))
    out.push_back({buf.substr(0, stored), full});
  return out;
}

// Reads `bytes` both from a stream and from a file: the two must agree.
std::vector<Record> records_of(const std::string& bytes, std::size_t cap = 1 << 17) {
  std::istringstream stream(bytes);
  InFile from_stream;
  std::string reason;
  EXPECT_TRUE(from_stream.open("-", &stream, reason));
  const std::vector<Record> a = read_all(from_stream, cap);

  ScratchDir dir;
  dir.write("data", bytes);
  InFile from_file;
  EXPECT_TRUE(from_file.open(dir.path("data"), nullptr, reason));
  const std::vector<Record> b = read_all(from_file, cap);
  EXPECT_EQ(a.size(), b.size());
  for (std::size_t k = 0; k < a.size() && k < b.size(); ++k) EXPECT_EQ(a[k].text, b[k].text);
  return b;
}

std::vector<std::string> texts(const std::vector<Record>& records) {
  std::vector<std::string> t;
  for (const Record& r : records) t.push_back(r.text);
  return t;
}

using Texts = std::vector<std::string>;

TEST(InFile, LineEnds) {
  struct Case {
    std::string bytes;
    Texts records;
  };
  const Case cases[] = {
      {"", {}},
      {"A\nB", {"A", "B"}},  // a last line without a line feed
      {"A\r\nB\r\n", {"A", "B"}},
      {"A\r\r\n", {"A\r"}},  // only the carriage return just before the line feed goes
      {"A\rB\n", {"A\rB"}},
      {"\r", {"\r"}},  // a lone carriage return at the end is data
      {"A\n\r", {"A", "\r"}},
      {"\n\n", {"", ""}},
      {std::string("\0\xFF\n\xFF", 4), {std::string("\0\xFF", 2), "\xFF"}},
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    SCOPED_TRACE("case " + std::to_string(k));
    EXPECT_EQ(texts(records_of(cases[k].bytes)), cases[k].records);
  }
}

TEST(InFile, CarriageReturnsAtTheBufferBoundary) {
  // The read buffer holds 65536 bytes: put the carriage return in its last byte.
  const std::string x(65535, 'x');
  EXPECT_EQ(texts(records_of(x + "\r\nY\n")), (Texts{x, "Y"}));
  EXPECT_EQ(texts(records_of(x + "\rZ\n")), (Texts{x + "\rZ"}));
  EXPECT_EQ(texts(records_of(x + "\r")), (Texts{x + "\r"}));
  const std::string w(65534, 'w');
  EXPECT_EQ(texts(records_of(w + "\r\r\n")), (Texts{w + "\r"}));
}

TEST(InFile, LongRecordsAreCutButMeasured) {
  const std::string big(200000, 'b');
  const std::vector<Record> r = records_of(big + "\r\nshort", 4096);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].text, big.substr(0, 4096));
  EXPECT_EQ(r[0].full, 200000u);
  EXPECT_EQ(r[1].text, "short");
  EXPECT_EQ(r[1].full, 5u);
}

TEST(InFile, ALargeFileReadAheadGivesTheSameRecords) {
  // Over a megabyte: a thread reads the file a chunk of 262144 bytes ahead. The first two chunks
  // end in a carriage return, one before a line feed, one before data. Then lines of every
  // length up to past the cut, carriage returns before line feeds and alone, empty lines.
  const std::size_t chunk = 1 << 18;
  std::string bytes = std::string(chunk - 1, 'x') + "\r\n" + std::string(chunk - 2, 'y') + "\rZ\n";
  std::vector<std::size_t> lengths = {chunk - 1, chunk};
  for (std::size_t k = 0; bytes.size() < 3 * (1u << 20); ++k) {
    const std::size_t n = (k * 7919) % (k % 50 == 0 ? 9000 : 300);
    std::string line(n, static_cast<char>('a' + k % 26));
    if (k % 3 == 0 && n > 0)
      line.back() = '\r';
    lengths.push_back(k % 3 == 0 && n > 0 && k % 5 != 0 ? n - 1 : n);  // one return goes
    bytes += line + (k % 5 == 0 ? "\r\n" : "\n");
  }
  const std::vector<Record> r = records_of(bytes, 4096);
  ASSERT_EQ(r.size(), lengths.size());
  for (std::size_t k = 0; k < r.size(); ++k) {
    ASSERT_EQ(r[k].full, lengths[k]) << "record " << k;
    ASSERT_EQ(r[k].text.size(), std::min<std::size_t>(lengths[k], 4096)) << "record " << k;
  }
}

TEST(InFile, OpenFailuresGiveTheSystemsReason) {
  ScratchDir dir;
  InFile in;
  std::string reason;
  EXPECT_FALSE(in.open(dir.path("missing"), nullptr, reason));
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_FALSE(in.open(dir.path(""), nullptr, reason));
  EXPECT_EQ(reason, "Is a directory");
}

TEST(OutFile, WritesAndReportsFailures) {
  ScratchDir dir;
  OutFile ok;
  std::string reason;
  ASSERT_TRUE(ok.open(dir.path("out"), nullptr, reason));
  EXPECT_TRUE(ok.write("AB\n"));
  EXPECT_TRUE(ok.close());
  EXPECT_EQ(dir.read("out"), "AB\n");

  OutFile full;
  ASSERT_TRUE(full.open("/dev/full", nullptr, reason));
  full.write("lost\n");
  EXPECT_FALSE(full.close());
  EXPECT_EQ(full.error_reason(), "No space left on device");

  OutFile dir_out;
  EXPECT_FALSE(dir_out.open(dir.path(""), nullptr, reason));
  EXPECT_EQ(reason, "Is a directory");
}

TEST(Files, AFileNeverOpenedCannotBeReadOrWritten) {
  InFile in;
  char buf[8];
  std::size_t stored = 0;
  std::size_t full = 0;
  EXPECT_FALSE(in.read_record(buf, sizeof buf, stored, full));
  EXPECT_TRUE(in.failed());
  EXPECT_EQ(in.error_reason(), "the file is not open");
  OutFile out;
  EXPECT_FALSE(out.write("lost"));
  EXPECT_FALSE(out.end_record());
  EXPECT_FALSE(out.close());
  EXPECT_EQ(out.error_reason(), "the file is not open");
}

TEST(OutFile, FilesSharingStandardOutputKeepTheirOrder) {
  std::ostringstream out;
  OutFile a;
  OutFile b;
  std::string reason;
  a.open("-", &out, reason);
  b.open("-", &out, reason);
  a.write("1");
  b.write("2");
  a.write("3");
  a.close();
  b.close();
  EXPECT_EQ(out.str(), "123");
}

}  // namespace
}  // namespace kovran
