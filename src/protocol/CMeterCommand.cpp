#include "protocol/CMeterCommand.h"

#include "model/CPowerMath.h"
#include "platform/CLittleEndian.h"

#include <cstdlib>
#include <iterator>

std::array<uint8_t, CMeterCommand::kParameterLength> CMeterCommand::Parameter(const char mnemonic[3],
                                                                              int32_t argument) {
    std::array<uint8_t, kParameterLength> frame = {'[', static_cast<uint8_t>(mnemonic[0]),
                                                   static_cast<uint8_t>(mnemonic[1])};
    CLittleEndian::WriteInt32(&frame[3], argument);
    frame[7] = ']';
    return frame;
}

std::array<uint8_t, CMeterCommand::kPlainLength> CMeterCommand::Plain(const char mnemonic[3]) {
    return {'[', static_cast<uint8_t>(mnemonic[0]), static_cast<uint8_t>(mnemonic[1]), ']'};
}

std::array<uint8_t, CMeterCommand::kStatusLength> CMeterCommand::StatusRequest() {
    return {'[', 'A', 'S', ']', '\\'};
}

int32_t CMeterCommand::Hundredths(double value) {
    return CPowerMath::Hundredths(value);
}

int32_t CMeterCommand::TechnologyCode(int32_t technologyIndex) {
    static constexpr int32_t kCodes[] = {6, 2, 1, 5, 4, 7, 3};
    if (technologyIndex < 0 || technologyIndex >= static_cast<int32_t>(std::size(kCodes)))
        return 0;
    return kCodes[technologyIndex];
}

int32_t CMeterCommand::PeriodCode(int32_t periodIndex) {
    if (periodIndex < 0 || periodIndex > 3)
        return 16;
    return 1 << periodIndex;
}

int32_t CMeterCommand::ReferenceArgument(int32_t reference) {
    if (reference == 0)
        return 600;
    const int64_t magnitude = std::llabs(static_cast<int64_t>(reference));
    if (magnitude < 400)
        return 400;
    if (magnitude > 1000)
        return 1000;
    return static_cast<int32_t>(magnitude);
}
