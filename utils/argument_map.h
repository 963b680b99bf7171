// The command line's options: "-key=value" tokens, first occurrence wins,
// keys compared case-sensitively with their leading "-".
#pragma once
#include <map>
#include <string>
#include <vector>

namespace Utils {

class ArgumentMap {
 public:
  // Splits with the Windows argument rules, then reads the tokens.
  void Parse(const std::wstring& commandLine);
  // Reads already split tokens (the program path included).
  void ParseTokens(const std::vector<std::wstring>& tokens);

  bool Has(const std::wstring& key) const { return values_.count(key) != 0; }
  std::wstring GetString(const std::wstring& key) const;
  // Base-10 32-bit; 0 when absent, not a number or out of range.
  int GetInt(const std::wstring& key) const;
  // True only for the exact value "true".
  bool GetBool(const std::wstring& key) const;
  // `defaultValue` when absent, not a number or out of range.
  double GetDouble(const std::wstring& key, double defaultValue) const;

 private:
  std::map<std::wstring, std::wstring> values_;
};

}  // namespace Utils
