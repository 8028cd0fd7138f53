#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <benchmark/benchmark.h>

// The main() of a benchmark that needs a Qt application of type App: offscreen unless the
// caller chose a platform or, with useDisplay, a display is there to measure on.
template <typename App>
int RunQtBenchmarks(int argc, char** argv, bool useDisplay = false)
{
    const bool display = useDisplay && !qEnvironmentVariableIsEmpty("DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !display)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
