#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace anitrope {

// Builds one compact JSON text (no whitespace, so a document fits on one line). The
// writer places the commas and colons; the caller keeps the nesting right: a Key before
// every value inside an object, none inside an array.
class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();

    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view bytes);
    JsonWriter& Number(int64_t value);
    // Six significant digits, as printf's %g; null when not finite, which JSON cannot say.
    JsonWriter& Real(double value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    const std::string& Text() const { return text_; }

  private:
    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);

    std::string text_;
    // One entry per open object or array: whether a value has been written in it yet.
    std::vector<bool> hasMembers_;
    bool afterKey_ = false;
};

}  // namespace anitrope
