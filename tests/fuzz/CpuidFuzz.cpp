// Any table of CPUID answers (a hypervisor may report anything): each field
// decodes alike alone and in the whole record, and the texts are what the
// registers can hold.
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "formats/CpuidDecoder.h"

using namespace cc;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // 24 bytes an answer: leaf, subleaf, eax, ebx, ecx, edx.
    CpuidAnswers answers;
    for (std::size_t at = 0; at + 24 <= size; at += 24) {
        std::uint32_t v[6];
        std::memcpy(v, data + at, sizeof v);
        answers.leaves[{v[0], v[1]}] = {v[2], v[3], v[4], v[5]};
    }
    const std::string vendor = DecodeVendor(answers), brand = DecodeBrand(answers), serial = DecodeSerialNumber(answers);
    for (const std::string* text : {&vendor, &brand, &serial})
        for (char c : *text) fuzz::Require(c >= 0x20 && c <= 0x7E, "texts are printable ASCII");
    fuzz::Require(vendor.size() <= 12 && brand.size() <= 48 && (serial.empty() || serial.size() == 29),
                  "texts fit the registers they come from");
    fuzz::Require(DecodeLevel1CacheKb(answers) >= 0 && DecodeLevel2CacheKb(answers) >= 0, "cache sizes are not negative");
    // The signature read the way the processor manuals spell it out.
    const auto leaf1 = answers.leaves.find({1, 0});
    const std::string identifier = DecodeIdentifier(answers);
    if (leaf1 == answers.leaves.end()) {
        fuzz::Require(identifier.empty(), "no signature without leaf 1");
    } else {
        const std::uint32_t eax = leaf1->second.eax, family = eax >> 8 & 0xF, model = eax >> 4 & 0xF;
        const std::uint32_t shownFamily = family == 0xF ? family + (eax >> 20 & 0xFF) : family;
        const std::uint32_t shownModel = family == 0x6 || family == 0xF ? model + ((eax >> 16 & 0xF) << 4) : model;
        const std::string tail = " Family " + std::to_string(shownFamily) + " Model " + std::to_string(shownModel) +
                                 " Stepping " + std::to_string(eax & 0xF);
        fuzz::Require(identifier.size() > tail.size() && identifier.ends_with(tail), "family, model and stepping");
    }
    const std::int32_t width = DecodeDataWidth(answers);
    fuzz::Require(answers.leaves.count({0, 0}) ? width == 32 || width == 64 : width == 0,
                  "the data width is 32 or 64 bits, and unknown without leaf 0");
    return 0;
}
