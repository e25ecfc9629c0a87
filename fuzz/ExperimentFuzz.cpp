// Experiment files of both programs from arbitrary bytes: read whole or refused
// with shell::Exception, never half; what is read writes back to a file that
// reads the same.
#include "kestrin/ui/Experiment.h"
#include "shell/core/Exception.h"
#include "shell/headless/Experiment.h"
#include "velmora/ui/Experiment.h"

#include <QByteArray>

#include <cstdint>

namespace {

template <typename Settings>
void readBack(const QByteArray& bytes, const QString& program, Settings (*fromJson)(const QJsonObject&),
              QJsonObject (*toJson)(const Settings&))
{
    shell::ExperimentParts parts;
    Settings settings;
    try {
        parts = shell::ReadExperiment(bytes, program);
        settings = fromJson(parts.settings);
    } catch (const shell::Exception&) {
        return;
    }
    // Everything read is written again, and the file that gives reads as the first.
    const QByteArray again = shell::WriteExperiment(program, toJson(settings), parts.series);
    const shell::ExperimentParts reread = shell::ReadExperiment(again, program);
    if (toJson(fromJson(reread.settings)) != toJson(settings) || reread.series.runs != parts.series.runs
        || reread.series.seed != parts.series.seed || reread.series.vary.has_value() != parts.series.vary.has_value()
        || reread.series.measures != parts.series.measures || reread.series.precision != parts.series.precision)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    readBack<velmora::SeriesSettings>(bytes, QStringLiteral("velmora"), velmora::SettingsFromJson,
                                      velmora::SettingsJson);
    readBack<kestrin::WarehouseSetup>(bytes, QStringLiteral("kestrin"), kestrin::SettingsFromJson,
                                      kestrin::SettingsJson);
    return 0;
}
