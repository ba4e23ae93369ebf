// Integer texts of the stored files and the colour texts of the background settings.
#include "FuzzInput.h"

#include "panels/BackgroundSettings.h"
#include "platform/Convert.h"
#include "platform/Errors.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<int> value = parseInteger(text);
    FUZZ_CHECK(strToIntDef(text, 7) == value.value_or(7));
    if (value) {
        // Whatever was read is written back in both forms the files use and reads the same.
        FUZZ_CHECK(parseInteger(QString::number(*value)) == value);
        FUZZ_CHECK(parseInteger(QStringLiteral("$%1").arg(quint32(*value), 0, 16)) == value);
    }

    // Any colour value survives its text form.
    if (size >= 4) {
        int color;
        std::memcpy(&color, data, sizeof color);
        FUZZ_CHECK(textToColor(colorToText(color)) == color);
    }
    try {
        const int color = textToColor(text);
        FUZZ_CHECK(textToColor(colorToText(color)) == color);
    } catch (const VarnoltError&) {
        FUZZ_CHECK(!value);
    }
    return 0;
}
