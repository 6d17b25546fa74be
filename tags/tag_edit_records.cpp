#include "tags/tag_edit_records.h"

namespace {

template <typename Record>
auto& Field(Record& record, TagField field) {
  switch (field) {
    case TagField::Title: return record.Title;
    case TagField::Artist: return record.Artist;
    case TagField::Album: return record.Album;
    case TagField::Year: return record.Year;
    case TagField::Genre: return record.Genre;
    case TagField::Comment: break;
  }
  return record.Comment;
}

}  // namespace

std::string& FieldOf(AudioFileinfo& record, TagField field) { return Field(record, field); }
const std::string& FieldOf(const AudioFileinfo& record, TagField field) { return Field(record, field); }

const AudioFileinfo* TTagEditRecords::Record(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= records_.size()) return nullptr;
  return &records_[static_cast<std::size_t>(row)];
}

void TTagEditRecords::Store(int row, TagField field, const std::string& text) {
  if (row < 0 || static_cast<std::size_t>(row) >= records_.size()) return;
  FieldOf(records_[static_cast<std::size_t>(row)], field) = text;
}

void TTagEditRecords::StoreAll(int rowCount, TagField field, const std::string& text) {
  for (int row = 0; row < rowCount; ++row) Store(row, field, text);
}
