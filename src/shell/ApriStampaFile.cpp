#include "shell/ApriStampaFile.h"

#include "common/ServizioInstallabile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Where no desktop is at hand (the command-line tool) no program is
// associated with any file type.
class ApertoreSenzaDesktop : public ApertoreFile
{
public:
    int Apri(const QString&, const QString&, bool) override { return 31; }
};

using ServizioApertore = ServizioInstallabile<ApertoreFile, ApertoreSenzaDesktop>;

} // namespace

ApertoreFile& ApertoreFile::Attuale()
{
    return ServizioApertore::Attuale();
}

void ApertoreFile::Installa(ApertoreFile* apertore)
{
    ServizioApertore::Installa(apertore);
}

QString TestoEsitoApertura(int codice)
{
    if (codice >= 33)
        return {};
    switch (codice) {
    case 2: return QStringLiteral("File Non Trovato");
    case 3: return QStringLiteral("Path Non Trovata");
    case 5: return QStringLiteral("Accesso negato alla risorsa");
    case 8: return QStringLiteral("Out of memory");
    case 11: return QStringLiteral("File EXE non valido o Errore immagine");
    case 26: return QStringLiteral("Violazione della condivisione");
    case 27: return QStringLiteral("Associazione File non valida o Incompleta");
    case 28: return QStringLiteral("DDE Time out");
    case 29: return QStringLiteral("DDE transazione fallita");
    case 30: return QStringLiteral("DDE occupato");
    case 31: return QStringLiteral("Nessuna associazione per l'estensione del file");
    case 32: return QStringLiteral("DLL Non Trovata");
    default: return QStringLiteral("Errore Sconosciuto durante Stampa File PDF");
    }
}

QString ApriStampaFile(const QString& percorso, const QString& verbo)
{
    // The checks the shell makes before it looks for a program, done here so
    // that every desktop gives the same answers.
    const QFileInfo file(percorso);
    int codice = 0;
    if (!file.exists())
        codice = file.absoluteDir().exists() ? 2 : 3;
    else if (!file.isReadable())
        codice = 5;
    else
        codice = ApertoreFile::Attuale().Apri(percorso, verbo, verbo != QLatin1String("open"));
    return TestoEsitoApertura(codice);
}
