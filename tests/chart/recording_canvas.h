#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/canvas.h"

namespace pellum {

// A Canvas that remembers every call, for tests of what a paint draws and in which order.
class RecordingCanvas : public Canvas {
 public:
  struct Operation {
    std::string name;       // "Clear", "Mapping", "MoveTo", "LineTo", "TextOut", "Ellipse"
    std::vector<int> args;  // in the order of the Canvas call
    std::string text;       // TextOut only

    bool operator==(const Operation&) const = default;
  };

  void Clear() override { operations.push_back({"Clear", {}, {}}); }
  void SetIsotropicMapping(int windowExtentX, int windowExtentY, int viewportExtentX,
                           int viewportExtentY, int viewportOriginX, int viewportOriginY) override {
    operations.push_back({"Mapping",
                          {windowExtentX, windowExtentY, viewportExtentX, viewportExtentY,
                           viewportOriginX, viewportOriginY},
                          {}});
  }
  void MoveTo(int x, int y) override { operations.push_back({"MoveTo", {x, y}, {}}); }
  void LineTo(int x, int y) override { operations.push_back({"LineTo", {x, y}, {}}); }
  void TextOut(int x, int y, std::string_view text) override {
    operations.push_back({"TextOut", {x, y}, std::string(text)});
  }
  void Ellipse(int left, int top, int right, int bottom) override {
    operations.push_back({"Ellipse", {left, top, right, bottom}, {}});
  }

  // Texts measure charWidth pixels a character and lineHeight pixels high: 0 by default,
  // so that only a text's position decides whether it lies inside an area.
  int TextWidth(std::string_view text) const override {
    return charWidth * static_cast<int>(text.size());
  }
  int TextHeight() const override { return lineHeight; }
  // Recorded as "Zoom" with the zoom in thousandths.
  void SetZoom(double zoom) override {
    operations.push_back({"Zoom", {static_cast<int>(zoom * 1000.0 + 0.5)}, {}});
  }

  // One line per operation: "TextOut -35 50 'Actual 2 theta'", "Ellipse 30 30 26 26".
  static std::string Describe(const Operation& operation) {
    std::string line = operation.name;
    for (int arg : operation.args) {
      line += ' ';
      line += std::to_string(arg);
    }
    if (operation.name == "TextOut") {
      line += " '" + operation.text + "'";
    }
    return line;
  }

  std::string Transcript() const {
    std::string text;
    for (const Operation& operation : operations) {
      text += Describe(operation) + "\n";
    }
    return text;
  }

  // The operations with the given name, in drawing order.
  std::vector<Operation> Named(std::string_view name) const {
    std::vector<Operation> found;
    for (const Operation& operation : operations) {
      if (operation.name == name) {
        found.push_back(operation);
      }
    }
    return found;
  }

  std::vector<Operation> operations;
  int charWidth = 0;
  int lineHeight = 0;
};

}  // namespace pellum
