// Dates and numbers as users and settings files give them. Input: one text.
//
// What must hold: a date read is one the short date form writes and reads
// back the same; a whole number read comes only from numeric text, reads the
// same from its own decimal form, and a 16-bit one is the same number the
// general reading gives; a numeric text is numeric with blanks around it too.

#include "SupportoFuzz.h"

#include "common/Testo.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QString testo = TestoDaByte(dati, dimensione);

    if (const auto data = InterpretaData(testo)) {
        const QString breve = data->toString(QStringLiteral("dd/MM/yyyy"));
        if (!data->isValid() || InterpretaData(breve) != data)
            Violazione("a date read is written and read back the same",
                       QStringLiteral("«%1» -> %2").arg(testo, breve));
    }

    const bool numerico = TestoNumerico(testo);
    if (numerico != TestoNumerico(QStringLiteral(" %1\t").arg(testo)))
        Violazione("blanks around do not change a number", testo);
    if (const auto intero = InteroDaTesto(testo)) {
        if (!numerico || InteroDaTesto(QString::number(*intero)) != intero)
            Violazione("a whole number comes from numeric text and reads back the same",
                       QStringLiteral("«%1» -> %2").arg(testo).arg(*intero));
    }
    if (const auto corto = Intero16DaTesto(testo)) {
        if (InteroDaTesto(testo) != std::optional<qint32>(*corto))
            Violazione("a 16-bit whole number is the number the text stands for",
                       QStringLiteral("«%1» -> %2").arg(testo).arg(*corto));
    }
    return 0;
}
