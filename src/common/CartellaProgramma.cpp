#include "common/CartellaProgramma.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& cartellaImpostata()
{
    static QString cartella;
    return cartella;
}
}

QString CartellaProgramma()
{
    if (!cartellaImpostata().isEmpty())
        return cartellaImpostata();
    return QCoreApplication::applicationDirPath();
}

void ImpostaCartellaProgramma(const QString& cartella)
{
    cartellaImpostata() = cartella;
}

QString UnisciPercorso(const QString& cartella, const QString& nome)
{
    return cartella + QDir::separator() + nome;
}
