#include <gtest/gtest.h>

#include "config/form_text_reader.h"

namespace kx {
namespace {

// Reads "object X: TForm <body> end" and returns the root's first property value.
FormValue ValueOf(const std::string& value_text) {
  const FormReadResult r = FormTextReader::Read("object X: TForm\r\n  P = " + value_text + "\r\nend\r\n");
  EXPECT_TRUE(r.ok) << value_text << ": " << r.error;
  if (!r.ok || r.root.properties.empty()) return {};
  return r.root.properties[0].value;
}

TEST(FormTextReader, ObjectsPathsAndChildren) {
  const FormReadResult r = FormTextReader::Read(
      "object MainWindow: TfmKXConfigWindow\r\n"
      "  Font.Name = 'Tahoma'\r\n"
      "  object Panel1: TPanel\r\n"
      "    object lbl: TLabel\r\n"
      "    end\r\n"
      "  end\r\n"
      "  object TTimer\r\n"
      "    Interval = 500\r\n"
      "  end\r\n"
      "END\r\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.root.name, "MainWindow");
  EXPECT_EQ(r.root.class_name, "TfmKXConfigWindow");
  ASSERT_EQ(r.root.properties.size(), 1u);
  EXPECT_EQ(r.root.properties[0].path, "Font.Name");
  EXPECT_EQ(r.root.properties[0].line, 2);
  ASSERT_EQ(r.root.children.size(), 2u);
  EXPECT_EQ(r.root.children[0].children[0].class_name, "TLabel");
  EXPECT_EQ(r.root.children[0].children[0].line, 4);
  EXPECT_EQ(r.root.children[1].name, "");  // an unnamed component
  EXPECT_EQ(r.root.children[1].class_name, "TTimer");
}

TEST(FormTextReader, ScalarValues) {
  struct Case {
    const char* text;
    FormValueKind kind;
    int64_t integer;
    const char* str;
  };
  const Case cases[] = {
      {"42", FormValueKind::Integer, 42, ""},
      {"-13", FormValueKind::Integer, -13, ""},
      {"$00F5CFC0", FormValueKind::Integer, 16109504, ""},
      {"$FFFFFFFF", FormValueKind::Integer, 0xFFFFFFFFLL, ""},
      {"clBtnFace", FormValueKind::Identifier, 0, "clBtnFace"},
      {"True", FormValueKind::Identifier, 0, "True"},
      {"''", FormValueKind::String, 0, ""},
      {"'it''s'", FormValueKind::String, 0, "it's"},
      {"#13#10", FormValueKind::String, 0, "\r\n"},
      {"'Use the '#39'Next'#39' label' +\r\n    ' to go on.'", FormValueKind::String, 0,
       "Use the 'Next' label to go on."},
      {"'a' + 'b' + #33", FormValueKind::String, 0, "ab!"},
      {"#$41'b'", FormValueKind::String, 0, "Ab"},
      {"#1046", FormValueKind::String, 0, "?"},  // beyond 8 bits
  };
  for (const Case& c : cases) {
    const FormValue v = ValueOf(c.text);
    EXPECT_EQ(v.kind, c.kind) << c.text;
    EXPECT_EQ(v.integer, c.integer) << c.text;
    EXPECT_EQ(v.text, c.str) << c.text;
  }
  EXPECT_DOUBLE_EQ(ValueOf("1.5").real, 1.5);
  EXPECT_DOUBLE_EQ(ValueOf("-2.5E2").real, -250.0);
  EXPECT_EQ(ValueOf("2E3").kind, FormValueKind::Real);
}

TEST(FormTextReader, StructuredValues) {
  FormValue set = ValueOf("[fsBold, fsUnderline]");
  EXPECT_EQ(set.kind, FormValueKind::Set);
  EXPECT_EQ(set.set, (std::vector<std::string>{"fsBold", "fsUnderline"}));
  EXPECT_TRUE(ValueOf("[]").set.empty());

  FormValue bin = ValueOf("{\r\n    07544269\r\n    746D6170 00000000}");
  EXPECT_EQ(bin.kind, FormValueKind::Binary);
  EXPECT_EQ(bin.binary, (std::vector<uint8_t>{7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 0, 0, 0, 0}));

  FormValue list = ValueOf("(\r\n    'one'\r\n    'two' + 'x'\r\n    3)");
  ASSERT_EQ(list.kind, FormValueKind::List);
  ASSERT_EQ(list.list.size(), 3u);
  EXPECT_EQ(list.list[1].text, "twox");
  EXPECT_EQ(list.list[2].integer, 3);

  FormValue coll = ValueOf("<\r\n    item\r\n      Caption = 'File'\r\n      Width = 20\r\n    end\r\n    item\r\n    end>");
  ASSERT_EQ(coll.kind, FormValueKind::Collection);
  ASSERT_EQ(coll.items.size(), 2u);
  ASSERT_EQ(coll.items[0].size(), 2u);
  EXPECT_EQ(coll.items[0][1].path, "Width");
  EXPECT_EQ(coll.items[0][1].line, 5);
  EXPECT_TRUE(coll.items[1].empty());
}

// One line per object: kind, name, class, order index, then its identifier-valued properties;
// children follow indented.
std::string Outline(const FormObject& o, int depth = 0) {
  static const char* const kKinds[] = {"object", "inherited", "inline"};
  std::string out(static_cast<size_t>(depth) * 2, ' ');
  out += kKinds[static_cast<int>(o.kind)];
  out += " " + o.name + ":" + o.class_name;
  if (o.order >= 0) out += "[" + std::to_string(o.order) + "]";
  for (const FormProperty& p : o.properties)
    if (p.value.kind == FormValueKind::Identifier) out += " " + p.path + "=" + p.value.text;
  out += "\n";
  for (const FormObject& c : o.children) out += Outline(c, depth + 1);
  return out;
}

TEST(FormTextReader, DesignerNotation) {
  struct Case {
    const char* text;
    const char* outline;
  };
  const Case cases[] = {
      // A form derived from another form: the root and its children are "inherited".
      {"inherited MainForm: TMainForm\r\n  Caption = 'x'\r\n  inherited Button1: TButton\r\n"
       "    Left = 3\r\n  end\r\nend\r\n",
       "inherited MainForm:TMainForm\n  inherited Button1:TButton\n"},
      // A frame placed on a form.
      {"object F: TForm\r\n  inline Frame1: TFrame1\r\n    object L: TLabel\r\n    end\r\n"
       "  end\r\nend\r\n",
       "object F:TForm\n  inline Frame1:TFrame1\n    object L:TLabel\n"},
      // Creation indexes after the class, also on unnamed components.
      {"inherited F: TForm\r\n  object B: TButton [0]\r\n  end\r\n  inherited C: TButton[12]\r\n"
       "  end\r\n  object TTimer [3]\r\n  end\r\nend\r\n",
       "inherited F:TForm\n  object B:TButton[0]\n  inherited C:TButton[12]\n  object :TTimer[3]\n"},
      // Dotted names as values are one name; plain names and keywords are unchanged.
      {"object F: TForm\r\n  Images = MainForm.ImageList1\r\n  PopupMenu = a.b.c\r\n"
       "  ActiveControl = Button1\r\n  Visible = True\r\nend\r\n",
       "object F:TForm Images=MainForm.ImageList1 PopupMenu=a.b.c ActiveControl=Button1 Visible=True\n"},
      // The keywords ignore letter case, as "object" and "end" do.
      {"INHERITED F: TForm\r\n  Inline G: TFrame\r\n  END\r\nend\r\n",
       "inherited F:TForm\n  inline G:TFrame\n"},
  };
  for (const Case& c : cases) {
    const FormReadResult r = FormTextReader::Read(c.text);
    ASSERT_TRUE(r.ok) << c.text << ": " << r.error;
    EXPECT_EQ(Outline(r.root), c.outline) << c.text;
  }
}

TEST(FormTextReader, MalformedTextsNameTheLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"", "line 1: expected 'object'"},
      {"thing X: TForm\r\nend", "line 1: expected 'object'"},
      {"object X:\r\n 5\r\nend", "line 2: expected a class name after ':'"},
      {"object X: TForm\r\n  Caption 'x'\r\nend", "line 2: expected '=' after the property name"},
      {"object X: TForm\r\n  Caption = 'x\r\nend", "line 2: unterminated string"},
      {"object X: TForm\r\n  Caption = 'x' +\r\n  Left = 1\r\nend", "line 3: expected a string after '+'"},
      {"object X: TForm\r\n  Data = {0A1\r\n  }\r\nend", "line 3: odd number of hexadecimal digits"},
      {"object X: TForm\r\n  Data = {0A1G}\r\nend", "line 2: expected a hexadecimal digit"},
      {"object X: TForm\r\n  Data = {0A1B\r\n", "line 2: expected '}'"},
      {"object X: TForm\r\n  S = [a b]\r\nend", "line 2: expected ',' or ']'"},
      {"object X: TForm\r\n  L = ('a'\r\n", "line 3: expected ')'"},
      {"object X: TForm\r\n  C = <thing>\r\nend", "line 2: expected 'item' or '>'"},
      {"object X: TForm\r\n  N = 12ab\r\nend", "line 2: malformed number"},
      {"object X: TForm\r\n  N = 99999999999999999999\r\nend", "line 2: number too large"},
      {"object X: TForm\r\n  N = #\r\nend", "line 2: expected digits after '#'"},
      {"object X: TForm\r\n  Font. = 1\r\nend", "line 2: expected a name after '.'"},
      {"object X: TForm\r\n  P = )\r\nend", "line 2: expected a value, found ')'"},
      {"object X: TForm\r\n  object Y: TLabel\r\n  end\r\n", "line 4: expected 'end' to close object 'TForm' of line 1"},
      {"object X: TForm\r\nend\r\nend", "line 3: expected the end of the text"},
      {"inherited 5\r\nend", "line 1: expected a component or class name after 'inherited'"},
      {"object X: TForm\r\n  object B: TButton [x]\r\n  end\r\nend", "line 2: expected an order index after '['"},
      {"object X: TForm\r\n  object B: TButton [-1]\r\n  end\r\nend", "line 2: expected an order index after '['"},
      {"object X: TForm\r\n  object B: TButton [1\r\n  end\r\nend", "line 3: expected ']' after the order index"},
      {"object X: TForm\r\n  Images = Main.5\r\nend", "line 2: expected a name after '.' in 'Main.'"},
  };
  for (const Case& c : cases) {
    const FormReadResult r = FormTextReader::Read(c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << c.text << "\n  got: " << r.error;
  }
}

TEST(FormTextReader, DeepNestingIsAnErrorNotACrash) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "object A: TPanel\n";
  FormReadResult r = FormTextReader::Read(deep);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("nesting too deep"), std::string::npos);

  std::string lists = "object X: TForm\n P = ";
  for (int i = 0; i < 100000; ++i) lists += "(";
  r = FormTextReader::Read(lists);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("nesting too deep"), std::string::npos);
}

TEST(FormTextReader, NoInputCrashes) {
  // Every prefix of a text using every notation either reads or fails with a message.
  const std::string text =
      "object W: TForm\r\n  Caption = 'a'#39'b' +\r\n    'c'\r\n  Font.Style = [fsBold]\r\n"
      "  Data = {0102\r\n  0304}\r\n  L = (\r\n    'x')\r\n  C = <\r\n    item\r\n      N = $1F\r\n"
      "    end>\r\n  R = 1.5E3\r\n  object L1: TLabel\r\n  end\r\nend\r\n";
  ASSERT_TRUE(FormTextReader::Read(text).ok);
  for (size_t n = 0; n < text.size(); ++n) {
    const FormReadResult r = FormTextReader::Read(text.substr(0, n));
    if (!r.ok) {
      EXPECT_FALSE(r.error.empty());
    }
  }
}

}  // namespace
}  // namespace kx
