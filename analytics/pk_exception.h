// The tracker layer's one exception: where it was thrown (unit, operation,
// line) and the message that what() returns. The wrapper catches every one.
#pragma once
#include <exception>
#include <string>

namespace pelko {
namespace analytics {

class PkException : public std::exception {
 public:
  PkException(std::string file, std::string function, int line, std::string message)
      : file_(std::move(file)), function_(std::move(function)), line_(line), message_(std::move(message)) {}

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& File() const { return file_; }
  const std::string& Function() const { return function_; }
  int Line() const { return line_; }
  int Code() const { return code_; }
  int SubCode() const { return subCode_; }

 private:
  std::string file_;
  std::string function_;
  int line_ = 0;
  int code_ = -1;     // never set by the tracker
  int subCode_ = -1;  // likewise
  std::string message_;
};

}  // namespace analytics
}  // namespace pelko
