// Draws with arbitrary settings (any double, NaN and infinities included) and
// sources that honour their ranges but are otherwise arbitrary.
#include "FuzzInput.h"

#include "shell/core/Exception.h"
#include "velmora/model/Variates.h"

namespace {

class InputSources final : public shell::RandomSources {
public:
    explicit InputSources(FuzzInput& input)
        : input_(input)
    {
    }
    std::int32_t Rand() override { return input_.take<std::uint16_t>() & 0x7FFF; }
    std::int32_t LRand() override { return static_cast<std::int32_t>(input_.take<std::uint32_t>() & 0x7FFF'FFFFu); }
    double RandG(double, double) override { return input_.take<double>(); }

private:
    FuzzInput& input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    InputSources sources(input);
    while (!input.exhausted()) {
        velmora::DistributionSetting setting;
        setting.kind = static_cast<velmora::DistributionKind>(input.take<std::uint8_t>() % 4);
        setting.p1 = input.take<double>();
        setting.p2 = input.take<double>();
        try {
            velmora::DrawVariate(setting, sources);
        } catch (const shell::Exception&) {
        }
        shell::RandomBelow(input.take<std::int32_t>(), sources);
    }
    return 0;
}
