// Fuzzes the date and record-setting reply readers: any reply, read whole or cut anywhere.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/dvr_query_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  DvrDateInfo date;
  ParseDvrDateReply(reply, date);
  DvrRecordInfo record;
  ParseDvrRecordReply(reply, record);
  return 0;
}
