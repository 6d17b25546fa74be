#include "tags/wma_tag.h"

bool WMASdkAvailable() { return true; }

int WMAudioCreateInfo(const std::string& fileName, std::unique_ptr<asf::InfoObject>& info) {
  int status = asf::kOk;
  info = asf::InfoObject::Create(fileName, &status);
  return info ? asf::kOk : status;
}
