#include "common/CartellaProgramma.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString& cartellaImpostata()
{
    static QString cartella;
    return cartella;
}

QString CartellaUtente(QStandardPaths::StandardLocation dove)
{
    const QString cartella = QStandardPaths::writableLocation(dove) + QStringLiteral("/ClientVelmira");
    QDir().mkpath(cartella);
    return cartella;
}
} // namespace

QString CartellaProgramma(UsoCartella uso)
{
    const QString programma = cartellaImpostata().isEmpty() ? QCoreApplication::applicationDirPath()
                                                            : cartellaImpostata();
    const QFileInfo info(programma);
    if (uso == UsoCartella::Programma || !info.exists() || info.isWritable())
        return programma;
    return CartellaUtente(uso == UsoCartella::Impostazioni ? QStandardPaths::GenericConfigLocation
                                                           : QStandardPaths::GenericDataLocation);
}

void ImpostaCartellaProgramma(const QString& cartella)
{
    cartellaImpostata() = cartella;
}

QString FileProgramma(const QString& nome)
{
    const QString proprio = UnisciPercorso(CartellaProgramma(UsoCartella::Dati), nome);
    return QFileInfo::exists(proprio) ? proprio : UnisciPercorso(CartellaProgramma(UsoCartella::Programma), nome);
}

QString UnisciPercorso(const QString& cartella, const QString& nome)
{
    return cartella + QDir::separator() + nome;
}
