// Any record a bin may hold reads back as it was written, and any bytes that
// read as a record are written again as a record that reads the same.
#include "FuzzCheck.h"
#include "formats/RecycleRecord.h"
#include "formats/Wtf8.h"

using namespace cc;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const std::optional<RecycleRecord> read = DecodeRecycleRecord({data, size}))
        fuzz::Require(DecodeRecycleRecord(EncodeRecycleRecord(*read)) == read, "a record read is written the same");
    if (size < 17) return 0;
    std::u16string units;
    for (std::size_t i = 18; i < size; i += 2) units += static_cast<char16_t>(data[i - 1] | data[i] << 8);
    std::uint64_t number = 0;
    for (int i = 1; i < 9; ++i) number = number << 8 | data[i];
    const RecycleRecord record{data[0] % 2 + 1u, number, ~number, Wtf8FromUtf16(units)};
    const std::vector<std::uint8_t> bytes = EncodeRecycleRecord(record);
    const bool writable = !units.empty() && units.find(u'\0') == std::u16string::npos && (record.version == 2 || units.size() < 260);
    fuzz::Require(bytes.empty() != writable, "every path without a NUL that fits is written");
    fuzz::Require(bytes.empty() || DecodeRecycleRecord(bytes) == record, "a record written reads back the same");
    return 0;
}
