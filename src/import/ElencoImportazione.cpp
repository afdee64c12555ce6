#include "import/ElencoImportazione.h"

QString ElencoImportazione::Crea(const QString& percorso)
{
    file_.setFileName(percorso);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("Impossibile creare l'elenco dei file elaborati %1: %2. "
                              "L'importazione non è stata eseguita.")
            .arg(percorso, file_.errorString());
    return {};
}

void ElencoImportazione::Riga(const QString& testo)
{
    file_.write(testo.toLocal8Bit());
    file_.write("\r\n", 2);
}

void ElencoImportazione::Salva()
{
    file_.flush();
}

void ElencoImportazione::Chiudi()
{
    file_.close();
}
