#include "SupportoFuzz.h"

#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

class DialoghiMuti : public Dialoghi
{
public:
    Risposta Messaggio(const QString& testo, Icona, const QString&, Pulsanti) override
    {
        mostrati.append(testo);
        return Risposta::No;
    }
    QString Input(const QString&, const QString&, const QString&) override { return {}; }

    QStringList mostrati;
};

DialoghiMuti* dialoghi = nullptr;
QTemporaryDir* cartella = nullptr;

} // namespace

void PreparaAmbienteFuzz()
{
    // Kept for the whole process: libFuzzer never returns to main.
    static int argc = 1;
    static char nome[] = "fuzz";
    static char* argv[] = {nome, nullptr};
    static QCoreApplication applicazione(argc, argv);
    // In memory where possible: the settings file is saved with a sync to disk.
    static QTemporaryDir temporanea(QDir(QStringLiteral("/dev/shm")).exists()
                                        ? QStringLiteral("/dev/shm/velmira-fuzz-XXXXXX")
                                        : QDir::tempPath() + QStringLiteral("/velmira-fuzz-XXXXXX"));
    static DialoghiMuti muti;
    if (!temporanea.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        std::abort();
    }
    cartella = &temporanea;
    dialoghi = &muti;
    Dialoghi::Installa(dialoghi);
    ImpostaCartellaProgramma(temporanea.path());
}

QString CartellaFuzz()
{
    return cartella->path();
}

QString ScriviFileFuzz(const QString& nome, const uint8_t* dati, size_t dimensione)
{
    const QString percorso = QDir(cartella->path()).filePath(nome);
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(dati), qint64(dimensione)) != qint64(dimensione))
        Violazione("the input file can be written", percorso);
    return percorso;
}

QStringList MessaggiMostrati()
{
    QStringList testi;
    testi.swap(dialoghi->mostrati);
    return testi;
}

QString TestoDaByte(const uint8_t* dati, size_t dimensione)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(dati), qsizetype(dimensione));
}

QStringList RigheFuzz(const QString& testo, int quante)
{
    QStringList righe = testo.split(QLatin1Char('\n'));
    while (righe.size() < quante)
        righe.append(QString());
    return righe;
}

void Violazione(const char* regola, const QString& dettagli)
{
    std::fprintf(stderr, "\n*** Broken property: %s\n%s\n", regola, qUtf8Printable(dettagli));
    std::abort();
}
