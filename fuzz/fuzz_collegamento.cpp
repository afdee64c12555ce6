// The connection file that names a PostgreSQL archive in place of dati.mdb.
// Input: the file.
//
// What must hold, for every file the program accepts: libpq, reading what
// Qt's driver hands it (";" turned into a blank, after a leading blank), reads
// the very parameters the program read, and never a password: the file lies
// in a folder the whole office reads.

#include "SupportoFuzz.h"

#include "archive/MotorePostgres.h"

#include <libpq-fe.h>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QString percorso = ScriviFileFuzz(QStringLiteral("dati.mdb"), dati, dimensione);
    const auto letti = LeggiCollegamento(percorso);
    if (!letti)
        return 0;
    const QString parametri = *letti;
    const QString perLibpq = QLatin1Char(' ') + QString(parametri).replace(QLatin1Char(';'), QLatin1Char(' '));
    char* errore = nullptr;
    PQconninfoOption* opzioni = PQconninfoParse(perLibpq.toUtf8().constData(), &errore);
    const QString testoErrore = QString::fromUtf8(errore);
    PQfreemem(errore);
    if (!opzioni) {
        // Names libpq does not know are the server's to refuse, with its message.
        if (!testoErrore.contains(QLatin1String("invalid connection option")))
            Violazione("libpq reads what the program accepted", parametri + QLatin1String(" -> ") + testoErrore);
        return 0;
    }
    const QHash<QString, QString> nostri = ParametriCollegamento(parametri);
    for (const PQconninfoOption* o = opzioni; o->keyword; ++o) {
        const QString nome = QString::fromUtf8(o->keyword);
        if (o->val && nome == QLatin1String("password"))
            Violazione("a connection file with a password is refused", parametri);
        // libpq still reads the old requiressl into sslmode.
        const bool derivato = nome == QLatin1String("sslmode") && nostri.contains(QStringLiteral("requiressl"));
        if (!derivato && nostri.value(nome) != (o->val ? QString::fromUtf8(o->val) : QString()))
            Violazione("libpq reads the parameters the program read", parametri + QLatin1String(" -> ") + nome);
    }
    PQconninfoFree(opzioni);
    return 0;
}
