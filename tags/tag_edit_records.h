// The tag editor's working copy of the list's records: every edit lands
// here, and only OK hands it back to the list.
#pragma once

#include <string>

#include "app/audio_file_info.h"

// The six texts the editor shows, one box each.
enum class TagField { Title, Artist, Album, Year, Genre, Comment };

std::string& FieldOf(AudioFileinfo& record, TagField field);
const std::string& FieldOf(const AudioFileinfo& record, TagField field);

class TTagEditRecords {
 public:
  // A fresh copy; earlier edits are dropped.
  void Take(const TFileInfos& infos) { records_ = infos; }
  void Clear() { records_.clear(); }
  const TFileInfos& Records() const { return records_; }

  // The row's record, or nullptr when the row has none.
  const AudioFileinfo* Record(int row) const;
  // Stores into the row's field; a row without a record is passed over.
  void Store(int row, TagField field, const std::string& text);
  // Rows 0 to rowCount - 1 take the text in the field.
  void StoreAll(int rowCount, TagField field, const std::string& text);

 private:
  TFileInfos records_;
};
