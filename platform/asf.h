// The ASF attribute layer: the descriptive attributes of a current ASF (WMA)
// file, read from its header object and written back by rebuilding that
// header; every data packet is copied untouched.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace asf {

// Attribute value types as the attribute interface codes them.
enum AttributeType : std::uint32_t {
  kTypeDword = 0,
  kTypeString = 1,  // UTF-16LE with terminator
  kTypeBinary = 2,
  kTypeBool = 3,
  kTypeQword = 4,
  kTypeWord = 5,
  kTypeGuid = 6,
};

enum Status : int {
  kOk = 0,
  kNotFound = 1,
  kBufferTooSmall = 2,
  kBadArgument = 3,
  kCannotOpen = 4,
  kNotAsf = 5,
  kCannotWrite = 6,
};

class HeaderModel;

// The attributes of one file: Title, Author, Copyright, Description and
// Rating live in the Content Description object, all others in the Extended
// Content Description object (read also from the Metadata and Metadata
// Library objects of the header extension, stream 0).
class InfoObject {
 public:
  // Reads the file's header; null with the status set when the file cannot
  // be opened or holds no current ASF header.
  static std::unique_ptr<InfoObject> Create(const std::string& path, int* status);
  ~InfoObject();
  InfoObject(const InfoObject&) = delete;
  InfoObject& operator=(const InfoObject&) = delete;

  // Copies the value into buffer. length holds the buffer's size in bytes and
  // receives the value's size; kBufferTooSmall when it does not fit.
  int QueryAttribute(std::u16string_view name, std::uint32_t& type, void* buffer, std::uint16_t& length) const;
  int StoreAttribute(std::u16string_view name, std::uint32_t type, const void* value, std::uint16_t length);
  // When attributes were stored, replaces the file atomically with one whose
  // header holds them (header size and object count, and the file size in
  // the File Properties object, fixed). kOk also when nothing was stored.
  int FinishInfo();

 private:
  InfoObject();
  std::string path_;
  std::unique_ptr<HeaderModel> model_;
  bool changed_ = false;
};

}  // namespace asf
