// Reading and writing a panel instrument list of 10,000 rows: the bytes alone and the whole save and load
// on a real file, with the sorted insert into the list model.
#include "instruments/InstrumentListFile.h"
#include "instruments/InstrumentListModel.h"
#include "instruments/InstrumentListStore.h"
#include "platform/LocalFileSystem.h"
#include "platform/LocaleService.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 10000;
const InstrumentLineSettings kSettings{QStringLiteral("192.168.1.20"), QStringLiteral("45000")};

std::vector<InstrumentRow> makeRows()
{
    std::vector<InstrumentRow> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        InstrumentRow r;
        // Names in no particular order, so loading has to sort.
        r.Name = QStringLiteral("Gauge %1 \"%2\"").arg((i * 7919) % kRows).arg(i % 3 ? "left" : "right");
        r.On = i % 5 != 0;
        if (i % 10 == 0)
            r.fields = {QStringLiteral("App"),
                        QStringLiteral("/opt/tools/app %1").arg(i),
                        QStringLiteral("-a, -b"),
                        {},
                        {},
                        {}};
        else
            r.fields = {QString::number(47000 + i % 100),
                        QStringLiteral("Instruments_Standard\\P@Gauge%1.exe").arg(i),
                        kSettings.FlightSimIPAddress,
                        kSettings.FlightSimPort,
                        QStringLiteral("1"),
                        QString::number(i % 4 + 1)};
        rows.push_back(std::move(r));
    }
    return rows;
}

void formatList(benchmark::State& state)
{
    const auto rows = makeRows();
    for (auto _ : state)
        benchmark::DoNotOptimize(formatInstrumentList(rows, kSettings));
    state.SetItemsProcessed(state.iterations() * kRows);
}

void parseList(benchmark::State& state)
{
    const QByteArray bytes = formatInstrumentList(makeRows(), kSettings);
    for (auto _ : state)
        benchmark::DoNotOptimize(parseInstrumentList(bytes));
    state.SetItemsProcessed(state.iterations() * kRows);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

struct OnDisk
{
    QTemporaryDir dir;
    LocalFileSystem files;
    SystemLocale locale;
    InstrumentListModel list{locale};
    QString iniPath = dir.path();
};

void saveList(benchmark::State& state)
{
    OnDisk d;
    d.list.setRows(makeRows());
    for (auto _ : state)
        SaveInstrumentList(d.files, d.iniPath, QStringLiteral("Bench"), d.list, kSettings);
    state.SetItemsProcessed(state.iterations() * kRows);
}

void readList(benchmark::State& state)
{
    OnDisk d;
    d.list.setRows(makeRows());
    SaveInstrumentList(d.files, d.iniPath, QStringLiteral("Bench"), d.list, kSettings);
    for (auto _ : state)
        ReadInstrumentList(d.files, d.iniPath, QStringLiteral("Bench"), d.list);
    state.SetItemsProcessed(state.iterations() * kRows);
}

} // namespace

BENCHMARK(formatList)->Unit(benchmark::kMillisecond);
BENCHMARK(parseList)->Unit(benchmark::kMillisecond);
BENCHMARK(saveList)->Unit(benchmark::kMillisecond);
BENCHMARK(readList)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
