// The file a writer produces: written under a temporary name in the same
// folder and given its real name only when it is complete, so a failed or
// abandoned output never looks like a finished one and an existing file is
// never replaced.
#pragma once

#include <string>

namespace tonvara::audio {

class OutputFile {
 public:
  // Fails when the name exists already or its folder cannot take a file.
  explicit OutputFile(const std::string& name);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& TemporaryPath() const { return temp_; }
  // Moves the finished file to its name; fails (and keeps nothing) when a
  // file of that name appeared meanwhile.
  void Commit();

 private:
  std::string name_;
  std::string temp_;
  bool committed_ = false;
};

}  // namespace tonvara::audio
