// records/files.cc - buffered record files.
#include "records/files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <istream>
#include <ostream>

namespace kovran {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;
constexpr std::size_t kWriteChunk = 1 << 16;

std::string system_reason(int err) { return std::strerror(err); }

}  // namespace

InFile::~InFile() { close(); }

bool InFile::open(const std::string& path, std::istream* std_in, std::string& reason) {
  close();
  if (path == "-") {
    stream_ = std_in;
  } else {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      reason = system_reason(EISDIR);
      return false;
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
      reason = system_reason(errno);
      return false;
    }
  }
  buf_.resize(kReadChunk);
  pos_ = end_ = 0;
  at_end_ = failed_ = false;
  records_ = 0;
  return true;
}

void InFile::close() {
  if (file_ != nullptr)
    std::fclose(file_);
  file_ = nullptr;
  stream_ = nullptr;
}

bool InFile::fill() {
  if (at_end_ || !is_open())
    return false;
  if (pos_ > 0) {
    std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (end_ == buf_.size())
    buf_.resize(buf_.size() * 2);
  std::size_t got = 0;
  if (file_ != nullptr) {
    got = std::fread(buf_.data() + end_, 1, buf_.size() - end_, file_);
    if (got == 0 && std::ferror(file_)) {
      failed_ = true;
      reason_ = system_reason(errno);
    }
  } else {
    stream_->read(buf_.data() + end_, static_cast<std::streamsize>(buf_.size() - end_));
    got = static_cast<std::size_t>(stream_->gcount());
    if (stream_->bad())
      failed_ = true, reason_ = "input stream failed";
  }
  if (got == 0)
    at_end_ = true;
  end_ += got;
  return got > 0;
}

bool InFile::read_record(char* dest, std::size_t cap, std::size_t& stored,
                         std::size_t& full_length) {
  stored = full_length = 0;
  bool any = false;
  for (;;) {
    const char* start = buf_.data() + pos_;
    const std::size_t avail = end_ - pos_;
    const void* lf = avail > 0 ? std::memchr(start, '\n', avail) : nullptr;
    const std::size_t span =
        lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : avail;
    // A carriage return at the end of what is buffered is held back: it is dropped when a line
    // feed follows it and kept as data otherwise.
    std::size_t take = span;
    if (take > 0 && start[take - 1] == '\r')
      --take;
    const std::size_t room = cap > stored ? cap - stored : 0;
    const std::size_t copy = std::min(take, room);
    if (copy > 0)
      std::memcpy(dest + stored, start, copy);
    stored += copy;
    full_length += take;
    if (avail > 0)
      any = true;
    if (lf != nullptr) {
      pos_ += span + 1;
      ++records_;
      return true;
    }
    pos_ += take;  // a long record is taken in pieces; the buffer never holds it whole
    if (!fill()) {
      if (pos_ < end_) {  // a carriage return that ends the file is data
        if (stored < cap)
          dest[stored++] = '\r';
        ++full_length;
        pos_ = end_;
      }
      if (any)
        ++records_;
      return any;
    }
  }
}

OutFile::~OutFile() { close(); }

bool OutFile::open(const std::string& path, std::ostream* std_out, std::string& reason) {
  if (path == "-") {
    stream_ = std_out;
  } else {
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
      reason = system_reason(errno);
      return false;
    }
  }
  buf_.reserve(kWriteChunk);
  failed_ = false;
  return true;
}

bool OutFile::write(std::string_view bytes) {
  if (failed_)
    return false;
  if (stream_ != nullptr) {
    // NOTE: no buffer of our own for "-": files that share standard output keep their order.
    stream_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!*stream_) {
      failed_ = true;
      reason_ = "output stream failed";
    }
    return !failed_;
  }
  buf_.append(bytes.data(), bytes.size());
  if (buf_.size() >= kWriteChunk)
    return flush();
  return true;
}

bool OutFile::flush() {
  if (failed_)
    return false;
  if (file_ != nullptr) {
    if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), file_) != buf_.size()) {
      failed_ = true;
      reason_ = system_reason(errno);
    } else if (std::fflush(file_) != 0) {
      failed_ = true;
      reason_ = system_reason(errno);
    }
  } else if (stream_ != nullptr) {
    stream_->flush();
    if (!*stream_) {
      failed_ = true;
      reason_ = "output stream failed";
    }
  }
  buf_.clear();
  return !failed_;
}

bool OutFile::close() {
  if (!is_open())
    return !failed_;
  flush();
  if (file_ != nullptr && std::fclose(file_) != 0 && !failed_) {
    failed_ = true;
    reason_ = system_reason(errno);
  }
  file_ = nullptr;
  stream_ = nullptr;
  return !failed_;
}

}  // namespace kovran
