// kxtool gui dump FILE: the forms of a GUI description as JSON: each form's name, its action
// list, and the object tree of its form text as the window builder reads it (after the
// rewriting), or the error that stops the build.
#include <cstdio>
#include <string>

#include "commands.h"
#include "config/description_classes.h"
#include "config/form_text_reader.h"
#include "config/kx_forms.h"
#include "config/picture_data.h"
#include "json_text.h"

namespace kxtool {
namespace {

std::string Hex(const std::vector<uint8_t>& b, size_t max) {
  static const char* d = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < b.size() && i < max; ++i) {
    out.push_back(d[b[i] >> 4]);
    out.push_back(d[b[i] & 15]);
  }
  return out;
}

bool IsPicturePath(const std::string& path) {
  const std::string suffix = ".Data";
  return path.size() > suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string ValueJson(const kx::FormValue& v, const std::string& path);

std::string PropertiesJson(const std::vector<kx::FormProperty>& props) {
  std::string out = "[";
  for (size_t i = 0; i < props.size(); ++i) {
    if (i) out += ", ";
    out += "{\"path\": " + JsonString(props[i].path) + ", \"line\": " + std::to_string(props[i].line) +
           ", \"value\": " + ValueJson(props[i].value, props[i].path) + "}";
  }
  return out + "]";
}

std::string ValueJson(const kx::FormValue& v, const std::string& path) {
  using K = kx::FormValueKind;
  switch (v.kind) {
    case K::Integer: return "{\"integer\": " + std::to_string(v.integer) + "}";
    case K::Real: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.17g", v.real);
      return std::string("{\"real\": ") + buf + "}";
    }
    case K::String: return "{\"string\": " + JsonString(v.text) + "}";
    case K::Identifier: return "{\"identifier\": " + JsonString(v.text) + "}";
    case K::Set: {
      std::string out = "{\"set\": [";
      for (size_t i = 0; i < v.set.size(); ++i) out += (i ? ", " : "") + JsonString(v.set[i]);
      return out + "]}";
    }
    case K::Binary: {
      std::string out = "{\"binary\": {\"size\": " + std::to_string(v.binary.size());
      if (IsPicturePath(path)) {
        kx::PictureData pic;
        std::string err;
        const bool ok = path.size() >= 10 && path.compare(path.size() - 10, 10, "Glyph.Data") == 0
                            ? kx::ParseBitmapData(v.binary, pic, &err)
                            : kx::ParsePictureData(v.binary, pic, &err);
        if (ok)
          out += ", \"picture\": {\"class\": " + JsonString(pic.graphic_class) + ", \"bytes\": " +
                 std::to_string(pic.bytes.size()) + ", \"head\": \"" + Hex(pic.bytes, 8) + "\"}";
        else
          out += ", \"picture_error\": " + JsonString(err);
      } else {
        out += ", \"head\": \"" + Hex(v.binary, 32) + "\"";
      }
      return out + "}}";
    }
    case K::List: {
      std::string out = "{\"list\": [";
      for (size_t i = 0; i < v.list.size(); ++i) out += (i ? ", " : "") + ValueJson(v.list[i], "");
      return out + "]}";
    }
    case K::Collection: {
      std::string out = "{\"collection\": [";
      for (size_t i = 0; i < v.items.size(); ++i) out += (i ? ", " : "") + PropertiesJson(v.items[i]);
      return out + "]}";
    }
  }
  return "null";
}

std::string ObjectJson(const kx::FormObject& o, const std::string& indent) {
  std::string out = "{\"class\": " + JsonString(o.class_name) + ", \"name\": " + JsonString(o.name) +
                    ", \"line\": " + std::to_string(o.line) + ",\n" + indent + " \"properties\": " +
                    PropertiesJson(o.properties) + ",\n" + indent + " \"children\": [";
  for (size_t i = 0; i < o.children.size(); ++i)
    out += (i ? ",\n" : "\n") + indent + "  " + ObjectJson(o.children[i], indent + "  ");
  return out + "]}";
}

int Remap(int line, const std::vector<int>& map) {
  return line >= 1 && line <= static_cast<int>(map.size()) ? map[static_cast<size_t>(line - 1)] : line;
}

void RemapLines(std::vector<kx::FormProperty>& props, const std::vector<int>& map);

void RemapLines(kx::FormValue& v, const std::vector<int>& map) {
  for (kx::FormValue& item : v.list) RemapLines(item, map);
  for (auto& props : v.items) RemapLines(props, map);
}

void RemapLines(std::vector<kx::FormProperty>& props, const std::vector<int>& map) {
  for (kx::FormProperty& p : props) {
    p.line = Remap(p.line, map);
    RemapLines(p.value, map);
  }
}

void RemapLines(kx::FormObject& o, const std::vector<int>& map) {
  o.line = Remap(o.line, map);
  RemapLines(o.properties, map);
  for (kx::FormObject& c : o.children) RemapLines(c, map);
}

}  // namespace

int CmdGui(const Args& args) {
  if (args.size() != 2 || args[0] != "dump") {
    std::fprintf(stderr, "usage: kxtool gui dump FILE\n");
    return 2;
  }
  kx::TKXForms forms;
  std::string error;
  const bool loaded = forms.Load(args[1], &error);
  std::string out = "{\"forms\": [";
  for (size_t f = 0; f < forms.Count(); ++f) {
    const kx::TKXForm& form = forms.Form(f);
    out += (f ? ",\n" : "\n");
    out += " {\"name\": " + JsonString(form.Name) + ", \"text_lines\": " + std::to_string(form.Text.size()) +
           ",\n  \"actions\": [";
    const auto& items = form.Actions.Items();
    for (size_t i = 0; i < items.size(); ++i) {
      const kx::TAction& a = items[i].second;
      out += (i ? ",\n" : "\n");
      out += "   {\"component\": " + JsonString(items[i].first) + ", \"code\": " + std::to_string(a.Code) +
             ", \"param1\": " + JsonString(a.Param1) + ", \"param2\": " + JsonString(a.Param2) +
             ", \"param3\": " + JsonString(a.Param3) + "}";
    }
    out += "],\n  ";
    // Line numbers are those of the form text as the description holds it.
    std::vector<int> line_map;
    const std::string text = kx::PrepareFormText(form, &line_map);
    kx::FormReadResult read = kx::FormTextReader::Read(text);
    const kx::FormSpecResult spec = kx::FormSpecFromText(text, &line_map);
    if (!spec.ok) out += "\"error\": " + JsonString(spec.error) + (read.ok ? ",\n  " : "");
    if (read.ok) {
      RemapLines(read.root, line_map);
      out += "\"object\": " + ObjectJson(read.root, "  ");
    }
    out += "}";
  }
  out += "]";
  if (!loaded) out += ",\n \"error\": " + JsonString(error);
  out += "}\n";
  std::fputs(out.c_str(), stdout);
  return loaded ? 0 : 1;
}

}  // namespace kxtool
