// The object tree of one form text: every object has a class name, an optional component
// name, its properties in text order and its child objects in text order. Values keep the
// kind they were written in; what a value means for a property is decided when the tree is
// turned into control descriptions (description_classes.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx {

struct FormProperty;

enum class FormValueKind { Integer, Real, String, Identifier, Set, Binary, List, Collection };

struct FormValue {
  FormValueKind kind = FormValueKind::Integer;
  int64_t integer = 0;                          // Integer
  double real = 0.0;                            // Real
  std::string text;                             // String (8-bit), Identifier
  std::vector<std::string> set;                 // Set: the identifiers, in text order
  std::vector<uint8_t> binary;                  // Binary
  std::vector<FormValue> list;                  // List
  std::vector<std::vector<FormProperty>> items; // Collection: the properties of each item
};

struct FormProperty {
  std::string path;  // "Caption", "Font.Name", "Picture.Data"
  FormValue value;
  int line = 0;      // 1-based line of the property name
};

// How an object was introduced: "object", or, in the forms a designer derives from another
// form or embeds from a frame, "inherited" and "inline". All three build the same control.
enum class FormObjectKind { Object, Inherited, Inline };

struct FormObject {
  FormObjectKind kind = FormObjectKind::Object;
  std::string name;       // may be empty ("object TTimer")
  std::string class_name;
  int order = -1;         // the "[n]" creation index written after the class; -1 when none
  std::vector<FormProperty> properties;
  std::vector<FormObject> children;
  int line = 0;           // 1-based line of "object"
};

}  // namespace kx
