#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "config/kx_forms.h"

namespace kx {
namespace {

// Joins lines with CR LF, as the authoring tool writes a description.
std::string Crlf(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

TEST(KXForms, LoadsFormsActionsAndSkippedLines) {
  const std::string file = Crlf({
      "2",
      "3", "object MainWindow: TfmForm", "  Caption = 'x'", "end",
      "11", "2",
      "Label1", "6", "", " ", " ",        // an empty parameter line reads as " "
      "label1", "0", "second", " ", " ",  // a second action for the same name (other case)
      "1", "Dummy",
      "2", "object Second: TForm", "end",
      "0",                                // M = 0: no actions
      "2", "skipped", "also skipped",
  });
  TKXForms forms;
  std::string error;
  ASSERT_TRUE(forms.LoadFromText(file, &error)) << error;
  ASSERT_EQ(forms.Count(), 2u);
  const TKXForm* main = forms.FindForm("mainwindow");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->Name, "MainWindow");
  EXPECT_EQ(main->Text, (std::vector<std::string>{"object MainWindow: TfmForm", "  Caption = 'x'", "end"}));
  const TAction* a = main->Actions.Find("LABEL1");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Code, 6);
  EXPECT_EQ(a->Param1, " ");  // the empty line
  EXPECT_EQ(main->Actions.Items().size(), 2u);  // both stored, the first one found
  EXPECT_EQ(main->Actions.Find("Nothing"), nullptr);

  const TKXForm* second = forms.FindForm("SECOND");
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->Actions.Items().empty());
  EXPECT_EQ(forms.FindForm("Third"), nullptr);
}

TEST(KXForms, EmptyCollectionAndLoneLineBreaks) {
  TKXForms forms;
  EXPECT_TRUE(forms.LoadFromText("0\r\n"));
  EXPECT_EQ(forms.Count(), 0u);
  // A lone LF or a lone CR ends a line too.
  EXPECT_TRUE(forms.LoadFromText("1\n2\robject A: TForm\nend\n0\n0\n"));
  ASSERT_EQ(forms.Count(), 1u);
  EXPECT_EQ(forms.Form(0).Name, "A");
}

TEST(KXForms, MalformedCountsStopWithTheLineAndKeepEarlierForms) {
  struct Case {
    const char* text;
    size_t forms_kept;
    const char* error_part;
  };
  const Case cases[] = {
      {"", 0, "line 1"},
      {"x\r\n", 0, "line 1: expected the number of forms"},
      {"-1\r\n", 0, "line 1"},
      {"2\r\n1\r\nobject A: TForm\r\n0\r\n0\r\nabc\r\n", 1, "line 6: expected the number of form text lines"},
      {"1\r\n5\r\nobject A: TForm\r\n", 0, "line 2: the number of form text lines 5 runs past the end"},
      {"1\r\n1\r\nobject A: TForm\r\n", 0, "line 4: the file ends"},
      {"1\r\n1\r\nobject A: TForm\r\n6\r\n1\r\nL\r\nx\r\n \r\n \r\n \r\n0\r\n", 0, "expected an action code"},
      {"1\r\n1\r\nobject A: TForm\r\n2\r\n2\r\nL\r\n0\r\n", 0, "ends inside action 1"},
      {"1\r\n1\r\nobject A: TForm\r\n0\r\n9\r\n", 0, "line 5: the number of further lines 9 runs past"},
  };
  for (const Case& c : cases) {
    TKXForms forms;
    std::string error;
    EXPECT_FALSE(forms.LoadFromText(c.text, &error)) << c.text;
    EXPECT_EQ(forms.Count(), c.forms_kept) << c.text;
    EXPECT_NE(error.find(c.error_part), std::string::npos) << c.text << " -> " << error;
  }
}

TEST(KXForms, LoadReadsAFileAndClearsFirst) {
  const std::string path = testing::TempDir() + "kxforms_test.kui";
  {
    std::ofstream out(path, std::ios::binary);
    out << Crlf({"1", "2", "object FromFile: TForm", "end", "0", "1", "Dummy"});
  }
  TKXForms forms;
  forms.AddForm("object Old: TForm\r\nend\r\n", "");
  ASSERT_TRUE(forms.Load(path));
  ASSERT_EQ(forms.Count(), 1u);
  EXPECT_EQ(forms.Form(0).Name, "FromFile");
  std::remove(path.c_str());
  std::string error;
  EXPECT_FALSE(forms.Load(path, &error));
  EXPECT_EQ(forms.Count(), 0u);
}

TEST(KXForms, FormNameFromTheFirstLine) {
  EXPECT_EQ(FormNameFromFirstLine("object MainWindow: TfmForm"), "MainWindow");
  EXPECT_EQ(FormNameFromFirstLine("object TfmForm"), "");
  EXPECT_EQ(FormNameFromFirstLine("object "), "");
  EXPECT_EQ(FormNameFromFirstLine(""), "");
  EXPECT_EQ(FormNameFromFirstLine("object A:B: TForm"), "A");
  // Forms derived from another form or frames start with another word.
  EXPECT_EQ(FormNameFromFirstLine("inherited MainWindow: TMainWindow"), "MainWindow");
  EXPECT_EQ(FormNameFromFirstLine("inline Frame1: TFrame1"), "Frame1");
  EXPECT_EQ(FormNameFromFirstLine("Inherited X: T"), "X");
}

TEST(PrepareFormText, RewritesTheRootAndRemovesWindowOnlyLines) {
  TKXForm form;
  form.Text = {
      "object MainWindow: TfmMain",
      "  Visible = False",            // the root's own: removed
      "  BorderIcons = [biSystemMenu]",
      "  BorderStyle = bsSingle",
      "  FormStyle = fsStayOnTop",
      "  OnShow = FormShow",
      "  OnMouseDown = BindResizer",
      "  Once = True",                // "On" followed by a lowercase letter: a property
      "  object Label1: TLabel",
      "    OnClick = Label1Click",
      "    Visible = False",          // a child's: stays
      "    borderstyle = bsNone",     // any nesting level, any letter case
      "    Caption = 'On air'",
      "  end",
      "  object Panel1: TPanel",
      "    VISIBLE = True",           // later Visible lines stay too
      "  end",
      "end",
  };
  std::vector<int> map;
  EXPECT_EQ(PrepareFormText(form, &map),
            "object MainWindow: TfmKXConfigWindow\r\n"
            "  Once = True\r\n"
            "  object Label1: TLabel\r\n"
            "    Visible = False\r\n"
            "    Caption = 'On air'\r\n"
            "  end\r\n"
            "  object Panel1: TPanel\r\n"
            "    VISIBLE = True\r\n"
            "  end\r\n"
            "end");
  EXPECT_EQ(map, (std::vector<int>{1, 8, 9, 11, 13, 14, 15, 16, 17, 18}));
  // The text of the form itself is not changed.
  EXPECT_EQ(form.Text[0], "object MainWindow: TfmMain");
}

TEST(PrepareFormText, TheFirstVisibleLineGoesWhereverItStands) {
  TKXForm form;
  form.Text = {"object W: TForm", "  object L: TLabel", "    Visible = False", "  end", "  On", "end"};
  EXPECT_EQ(PrepareFormText(form), "object W: TfmKXConfigWindow\r\n  object L: TLabel\r\n  end\r\nend");
}

}  // namespace
}  // namespace kx
