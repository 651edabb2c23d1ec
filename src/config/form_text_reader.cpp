#include "config/form_text_reader.h"

#include "package/paths.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace kx {
namespace {

enum class Tok { End, Ident, Integer, Real, String, Symbol };

struct Token {
  Tok kind = Tok::End;
  std::string text;      // Ident, String (the decoded 8-bit string)
  int64_t integer = 0;   // Integer
  double real = 0.0;     // Real
  char symbol = 0;       // Symbol
  int line = 1;
};

bool IsIdentStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct ParseFailure {
  int line;
  std::string message;
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : s_(text) {}

  int line() const { return line_; }

  [[noreturn]] void Fail(int line, const std::string& message) const {
    throw ParseFailure{line, message};
  }

  // Skips blanks, control characters and line breaks, counting lines.
  void SkipSpace() {
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '\r') {
        ++line_;
        ++pos_;
        if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
      } else if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (static_cast<unsigned char>(c) <= ' ') {
        ++pos_;
      } else {
        break;
      }
    }
  }

  Token Next() {
    SkipSpace();
    Token t;
    t.line = line_;
    if (pos_ >= s_.size()) return t;
    const char c = s_[pos_];
    if (IsIdentStart(c)) {
      const size_t start = pos_;
      while (pos_ < s_.size() && IsIdentChar(s_[pos_])) ++pos_;
      t.kind = Tok::Ident;
      t.text = std::string(s_.substr(start, pos_ - start));
      return t;
    }
    if (c == '\'' || c == '#') return ReadString(t);
    if (IsDigit(c) || c == '$' ||
        ((c == '-' || c == '+') && pos_ + 1 < s_.size() && (IsDigit(s_[pos_ + 1]) || s_[pos_ + 1] == '$')))
      return ReadNumber(t);
    t.kind = Tok::Symbol;
    t.symbol = c;
    ++pos_;
    return t;
  }

  // After "{": hexadecimal digit pairs up to "}", white space and line breaks ignored.
  std::vector<uint8_t> ReadBinary() {
    std::vector<uint8_t> out;
    int high = -1;
    const int start_line = line_;
    for (;;) {
      SkipSpace();
      if (pos_ >= s_.size()) Fail(start_line, "expected '}' to close the binary data");
      const char c = s_[pos_];
      if (c == '}') {
        ++pos_;
        if (high >= 0) Fail(line_, "odd number of hexadecimal digits in binary data");
        return out;
      }
      const int v = HexValue(c);
      if (v < 0) Fail(line_, std::string("expected a hexadecimal digit in binary data, found '") + c + "'");
      ++pos_;
      if (high < 0) {
        high = v;
      } else {
        out.push_back(static_cast<uint8_t>(high * 16 + v));
        high = -1;
      }
    }
  }

 private:
  Token ReadString(Token& t) {
    t.kind = Tok::String;
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= s_.size() || s_[pos_] == '\r' || s_[pos_] == '\n')
            Fail(line_, "unterminated string");
          if (s_[pos_] == '\'') {
            if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
              t.text.push_back('\'');
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          t.text.push_back(s_[pos_++]);
        }
      } else if (c == '#') {
        ++pos_;
        int64_t code = 0;
        bool any = false;
        if (pos_ < s_.size() && s_[pos_] == '$') {
          ++pos_;
          while (pos_ < s_.size() && HexValue(s_[pos_]) >= 0) {
            code = code * 16 + HexValue(s_[pos_++]);
            if (code > 0xFFFF) Fail(line_, "character code too large");
            any = true;
          }
        } else {
          while (pos_ < s_.size() && IsDigit(s_[pos_])) {
            code = code * 10 + (s_[pos_++] - '0');
            if (code > 0xFFFF) Fail(line_, "character code too large");
            any = true;
          }
        }
        if (!any) Fail(line_, "expected digits after '#'");
        // Strings are 8-bit; a code beyond that range has no character here.
        t.text.push_back(code <= 255 ? static_cast<char>(code) : '?');
      } else {
        break;
      }
    }
    return t;
  }

  Token ReadNumber(Token& t) {
    bool negative = false;
    if (s_[pos_] == '-' || s_[pos_] == '+') {
      negative = s_[pos_] == '-';
      ++pos_;
    }
    if (s_[pos_] == '$') {
      ++pos_;
      uint64_t v = 0;
      bool any = false;
      while (pos_ < s_.size() && HexValue(s_[pos_]) >= 0) {
        if (v > (std::numeric_limits<uint64_t>::max() >> 4)) Fail(line_, "number too large");
        v = v * 16 + HexValue(s_[pos_++]);
        any = true;
      }
      if (!any) Fail(line_, "expected hexadecimal digits after '$'");
      if (pos_ < s_.size() && IsIdentChar(s_[pos_])) Fail(line_, "malformed number");
      t.kind = Tok::Integer;
      // "$FFFFFFFF" style values keep their bit pattern as a 64-bit number.
      t.integer = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
      return t;
    }
    const size_t start = pos_;
    while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
    bool real = false;
    if (pos_ < s_.size() && s_[pos_] == '.') {
      real = true;
      ++pos_;
      while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      size_t p = pos_ + 1;
      if (p < s_.size() && (s_[p] == '+' || s_[p] == '-')) ++p;
      if (p < s_.size() && IsDigit(s_[p])) {
        real = true;
        pos_ = p;
        while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
      }
    }
    if (pos_ < s_.size() && IsIdentChar(s_[pos_])) Fail(line_, "malformed number");
    const std::string digits(s_.substr(start, pos_ - start));
    if (real) {
      t.kind = Tok::Real;
      t.real = std::strtod(digits.c_str(), nullptr);
      if (negative) t.real = -t.real;
      return t;
    }
    uint64_t v = 0;
    for (char d : digits) {
      if (v > (static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) - 9) / 10)
        Fail(line_, "number too large");
      v = v * 10 + static_cast<uint64_t>(d - '0');
    }
    t.kind = Tok::Integer;
    t.integer = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
    return t;
  }

  std::string_view s_;
  size_t pos_ = 0;
  int line_ = 1;
};

std::string Describe(const Token& t) {
  switch (t.kind) {
    case Tok::End: return "the end of the text";
    case Tok::Ident: return "'" + t.text + "'";
    case Tok::Integer:
    case Tok::Real: return "a number";
    case Tok::String: return "a string";
    case Tok::Symbol: return std::string("'") + t.symbol + "'";
  }
  return "?";
}

class Parser {
 public:
  explicit Parser(std::string_view text) : lex_(text) { Advance(); }

  FormObject ParseRoot() {
    FormObject root = ParseObject(0);
    if (cur_.kind != Tok::End) Fail("expected the end of the text after the last 'end', found " + Describe(cur_));
    return root;
  }

 private:
  void Advance() { cur_ = lex_.Next(); }
  [[noreturn]] void Fail(const std::string& message) { lex_.Fail(cur_.line, message); }
  bool IsSymbol(char c) const { return cur_.kind == Tok::Symbol && cur_.symbol == c; }
  bool IsWord(std::string_view w) const { return cur_.kind == Tok::Ident && EqualNoCase(cur_.text, w); }
  bool IsObjectStart() const { return IsWord("object") || IsWord("inherited") || IsWord("inline"); }
  void ExpectSymbol(char c, const char* what) {
    if (!IsSymbol(c)) Fail(std::string("expected '") + c + "' " + what + ", found " + Describe(cur_));
    Advance();
  }
  void CheckDepth(int depth) {
    if (depth > FormTextReader::kMaxDepth) Fail("nesting too deep");
  }

  FormObject ParseObject(int depth) {
    CheckDepth(depth);
    FormObject obj;
    obj.line = cur_.line;
    if (!IsObjectStart()) Fail("expected 'object', found " + Describe(cur_));
    const std::string keyword = cur_.text;
    obj.kind = IsWord("object") ? FormObjectKind::Object
               : IsWord("inherited") ? FormObjectKind::Inherited : FormObjectKind::Inline;
    Advance();
    if (cur_.kind != Tok::Ident)
      Fail("expected a component or class name after '" + keyword + "', found " + Describe(cur_));
    std::string first = cur_.text;
    Advance();
    if (IsSymbol(':')) {
      Advance();
      if (cur_.kind != Tok::Ident) Fail("expected a class name after ':', found " + Describe(cur_));
      obj.name = std::move(first);
      obj.class_name = cur_.text;
      Advance();
    } else {
      obj.class_name = std::move(first);
    }
    // "object Button1: TButton [2]": the designer's creation index of the component.
    if (IsSymbol('[')) {
      Advance();
      if (cur_.kind != Tok::Integer || cur_.integer < 0 || cur_.integer > INT32_MAX)
        Fail("expected an order index after '[', found " + Describe(cur_));
      obj.order = static_cast<int>(cur_.integer);
      Advance();
      ExpectSymbol(']', "after the order index");
    }
    for (;;) {
      if (cur_.kind == Tok::End) Fail("expected 'end' to close object '" + obj.class_name + "' of line " + std::to_string(obj.line));
      if (IsWord("end")) {
        Advance();
        return obj;
      }
      if (IsObjectStart()) {
        obj.children.push_back(ParseObject(depth + 1));
        continue;
      }
      obj.properties.push_back(ParseProperty(depth));
    }
  }

  FormProperty ParseProperty(int depth) {
    FormProperty p;
    p.line = cur_.line;
    if (cur_.kind != Tok::Ident) Fail("expected a property name, 'object' or 'end', found " + Describe(cur_));
    p.path = cur_.text;
    Advance();
    while (IsSymbol('.')) {
      Advance();
      if (cur_.kind != Tok::Ident) Fail("expected a name after '.' in the property path, found " + Describe(cur_));
      p.path += '.';
      p.path += cur_.text;
      Advance();
    }
    ExpectSymbol('=', "after the property name");
    p.value = ParseValue(depth + 1);
    return p;
  }

  FormValue ParseValue(int depth) {
    CheckDepth(depth);
    FormValue v;
    switch (cur_.kind) {
      case Tok::Integer:
        v.kind = FormValueKind::Integer;
        v.integer = cur_.integer;
        Advance();
        return v;
      case Tok::Real:
        v.kind = FormValueKind::Real;
        v.real = cur_.real;
        Advance();
        return v;
      case Tok::String:
        v.kind = FormValueKind::String;
        v.text = cur_.text;
        Advance();
        while (IsSymbol('+')) {
          Advance();
          if (cur_.kind != Tok::String) Fail("expected a string after '+', found " + Describe(cur_));
          v.text += cur_.text;
          Advance();
        }
        return v;
      case Tok::Ident:
        // A dotted name refers to a component of another form or frame
        // ("Images = MainForm.ImageList1"); it stays one name.
        v.kind = FormValueKind::Identifier;
        v.text = cur_.text;
        Advance();
        while (IsSymbol('.')) {
          Advance();
          if (cur_.kind != Tok::Ident) Fail("expected a name after '.' in '" + v.text + ".', found " + Describe(cur_));
          v.text += '.';
          v.text += cur_.text;
          Advance();
        }
        return v;
      case Tok::End:
        Fail("expected a value, found the end of the text");
      case Tok::Symbol:
        break;
    }
    switch (cur_.symbol) {
      case '[': {
        v.kind = FormValueKind::Set;
        Advance();
        if (IsSymbol(']')) {
          Advance();
          return v;
        }
        for (;;) {
          if (cur_.kind == Tok::Ident) v.set.push_back(cur_.text);
          else if (cur_.kind == Tok::Integer) v.set.push_back(std::to_string(cur_.integer));
          else Fail("expected a name in the set, found " + Describe(cur_));
          Advance();
          if (IsSymbol(']')) {
            Advance();
            return v;
          }
          ExpectSymbol(',', "or ']' in the set");
        }
      }
      case '{':
        v.kind = FormValueKind::Binary;
        v.binary = lex_.ReadBinary();
        Advance();
        return v;
      case '(':
        v.kind = FormValueKind::List;
        Advance();
        while (!IsSymbol(')')) {
          if (cur_.kind == Tok::End) Fail("expected ')' to close the list");
          v.list.push_back(ParseValue(depth + 1));
        }
        Advance();
        return v;
      case '<':
        v.kind = FormValueKind::Collection;
        Advance();
        while (!IsSymbol('>')) {
          if (!IsWord("item")) Fail("expected 'item' or '>' in the collection, found " + Describe(cur_));
          Advance();
          std::vector<FormProperty> props;
          while (!IsWord("end")) {
            if (cur_.kind == Tok::End) Fail("expected 'end' to close the collection item");
            props.push_back(ParseProperty(depth + 1));
          }
          Advance();
          v.items.push_back(std::move(props));
        }
        Advance();
        return v;
      default:
        Fail("expected a value, found " + Describe(cur_));
    }
  }

  Lexer lex_;
  Token cur_;
};

}  // namespace

FormReadResult FormTextReader::Read(std::string_view text) {
  FormReadResult r;
  try {
    Parser parser(text);
    r.root = parser.ParseRoot();
    r.ok = true;
  } catch (const ParseFailure& f) {
    r.ok = false;
    r.error_line = f.line;
    r.message = f.message;
    r.error = "line " + std::to_string(f.line) + ": " + f.message;
  }
  return r;
}

}  // namespace kx
