// Packing a 50 MB folder of mixed files, against gzip -6 of the same bytes.
#include "exchange/PanelArchive.h"
#include "platform/LocalFileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr qsizetype kTotal = 50 * 1024 * 1024;

QByteArray textFile(QRandomGenerator& rng, qsizetype size)
{
    static const char* words[] = {"[Config]", "PanelName", "Monitor", "Left", "Top",         "Width",
                                  "Height",   "Scale",     "ADI",     "HSI",  "Altimeter",   "=",
                                  "1",        "0",         "App",     ";",    "192.168.1.20"};
    QByteArray out;
    while (out.size() < size) {
        for (int w = 0; w < 6; ++w)
            out += words[rng.bounded(int(std::size(words)))] + QByteArray::number(rng.bounded(2000));
        out += "\r\n";
    }
    out.truncate(size);
    return out;
}

QByteArray imageFile(QRandomGenerator& rng, qsizetype size)
{
    // Smooth gradients with a little noise, like a background picture stored uncompressed.
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        out[i] = char((i / 3 % 1024) / 4 + (i % 3) * 40 + rng.bounded(4));
    return out;
}

QByteArray randomFile(QRandomGenerator& rng, qsizetype size)
{
    QByteArray out(size, Qt::Uninitialized);
    rng.fillRange(reinterpret_cast<quint32*>(out.data()), size / 4);
    return out;
}

// The folder and, beside it, every file's bytes one after another for gzip.
struct Fixture
{
    QTemporaryDir dir;
    QString folder, concatenated;
    qint64 bytes = 0;

    Fixture()
    {
        folder = dir.path() + QStringLiteral("/panel");
        concatenated = dir.path() + QStringLiteral("/all.bin");
        QDir().mkpath(folder);
        QFile all(concatenated);
        all.open(QIODevice::WriteOnly);
        QRandomGenerator rng(50);
        for (int i = 0; bytes < kTotal; ++i) {
            const int kind = i % 5; // text, text, image, image, already compressed
            const qsizetype size = std::min<qsizetype>(kTotal - bytes, kind < 2 ? rng.bounded(1000, 400000)
                                                                                : rng.bounded(200000, 3000000));
            const QByteArray content = kind < 2   ? textFile(rng, size)
                                       : kind < 4 ? imageFile(rng, size)
                                                  : randomFile(rng, size);
            QFile f(folder + QStringLiteral("/file%1.dat").arg(i));
            f.open(QIODevice::WriteOnly);
            f.write(content);
            all.write(content);
            bytes += size;
        }
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_CompressDirectory(benchmark::State& state)
{
    Fixture& f = fixture();
    LocalFileSystem files;
    ArchiveOptions options;
    options.threads = int(state.range(0));
    PanelArchive archive(files, options);
    const QString out = f.dir.path() + QStringLiteral("/out.vrx");
    for (auto _ : state)
        archive.CompressDirectory(f.folder, false, out);
    state.SetBytesProcessed(state.iterations() * f.bytes);
    state.counters["ratio"] = double(QFileInfo(out).size()) / double(f.bytes);
}
BENCHMARK(BM_CompressDirectory)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_DecompressFile(benchmark::State& state)
{
    Fixture& f = fixture();
    LocalFileSystem files;
    PanelArchive archive(files);
    const QString packed = f.dir.path() + QStringLiteral("/in.vrx");
    archive.CompressDirectory(f.folder, false, packed);
    for (auto _ : state)
        archive.DecompressFile(packed, f.dir.path() + QStringLiteral("/target"), true, true);
    state.SetBytesProcessed(state.iterations() * f.bytes);
}
BENCHMARK(BM_DecompressFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Gzip6(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString out = f.dir.path() + QStringLiteral("/all.gz");
    const QByteArray command = QStringLiteral("gzip -6 -c '%1' > '%2'").arg(f.concatenated, out).toLocal8Bit();
    for (auto _ : state) {
        if (std::system(command.constData()) != 0) {
            state.SkipWithError("gzip failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
    state.counters["ratio"] = double(QFileInfo(out).size()) / double(f.bytes);
}
BENCHMARK(BM_Gzip6)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
