#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// A fuzz input cut at zero bytes into the parts a target needs; missing parts are empty. Seeds stay readable.
inline std::vector<QByteArray> fuzzParts(const uint8_t* data, size_t size, int count)
{
    std::vector<QByteArray> parts(static_cast<size_t>(count));
    const QByteArray all = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    qsizetype pos = 0;
    for (int i = 0; i < count && pos <= all.size(); ++i) {
        qsizetype zero = i + 1 < count ? all.indexOf('\0', pos) : -1;
        if (zero < 0)
            zero = all.size();
        parts[size_t(i)] = all.mid(pos, zero - pos);
        pos = zero + 1;
    }
    return parts;
}

// Aborts with the condition, so libFuzzer and the corpus replay both report it as a finding.
#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond)) {                                                                                                 \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                              \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)
