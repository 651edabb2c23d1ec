// The animated objects of a living picture, read from the record's description text: one
// section [ObjN] per object, ObjType "GIF" or "IMG". The list owns the objects.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "anim/anim_object.h"

namespace kx {

class TAnimObjects {
 public:
  TAnimObjects() = default;
  ~TAnimObjects() { Clear(); }
  TAnimObjects(const TAnimObjects&) = delete;
  TAnimObjects& operator=(const TAnimObjects&) = delete;

  // Frees all objects and reads the text. For n = 0 .. sections - 1 the section "Obj" + n
  // names the kind; a new object reads the section of its own list position, so an
  // unknown kind shifts the sections later objects read.
  void LoadFromText(const std::string& text);
  // Appends and numbers an object.
  TAnimObject& Add(std::unique_ptr<TAnimObject> object);
  void Clear();
  // Image files that do not exist as named are looked for in `folder` by their file name.
  void ResolvePaths(const std::string& folder);
  // Pauses every worker (each between two steps).
  void StopAll();

  int Count() const { return static_cast<int>(items_.size()); }
  TAnimObject& operator[](int i) { return *items_[i]; }
  const TAnimObject& operator[](int i) const { return *items_[i]; }

 private:
  std::vector<std::unique_ptr<TAnimObject>> items_;
};

}  // namespace kx
