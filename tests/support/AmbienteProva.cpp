#include "AmbienteProva.h"

#include "common/CartellaProgramma.h"
#include "common/Orologio.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

AmbienteProva::AmbienteProva()
{
    ImpostaCartellaProgramma(dir_.path());
    Dialoghi::Installa(&dialoghi);
    ApertoreFile::Installa(&apertore);
    SelettoreCartella::Installa(&selettore);
}

AmbienteProva::~AmbienteProva()
{
    ImpostaOrologio({});
    SelettoreCartella::Installa(nullptr);
    ApertoreFile::Installa(nullptr);
    Dialoghi::Installa(nullptr);
    ImpostaCartellaProgramma({});
}

QString AmbienteProva::percorso(const QString& nome) const
{
    return dir_.path() + QLatin1Char('/') + nome;
}

QString AmbienteProva::scriviFile(const QString& nome, const QByteArray& testo) const
{
    const QString completo = percorso(nome);
    QDir().mkpath(QFileInfo(completo).path());
    QFile file(completo);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(testo);
    return completo;
}

void AmbienteProva::fermaOrologio(const QDateTime& adesso)
{
    ImpostaOrologio([adesso] { return adesso; });
}

QByteArray LeggiFile(const QString& percorso)
{
    QFile file(percorso);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool AttendiDaVicino(const std::function<bool()>& condizione, int millisecondi)
{
    QElapsedTimer attesa;
    attesa.start();
    while (!condizione()) {
        if (attesa.elapsed() >= millisecondi)
            return false;
        usleep(500);
    }
    return true;
}
