// The text reader the indexing starts: reads PDF paths, one per line, on its
// standard input and answers each on its standard output as ProtocolloTesto
// says, until its input ends. A file that crashes or hangs the PDF library
// ends only this process; the indexing starts another.
//
//   velmira-testo < percorsi
#include "indice/ProtocolloTesto.h"

#include <QCoreApplication>
#include <QPdfDocument>
#include <QPdfSelection>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

RispostaTesto leggi(const QString& percorso)
{
    QPdfDocument documento;
    RispostaTesto risposta;
    switch (documento.load(percorso)) {
    case QPdfDocument::Error::None:
        break;
    case QPdfDocument::Error::IncorrectPassword:
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        risposta.motivo = MotivoTesto::Cifrato;
        return risposta;
    case QPdfDocument::Error::FileNotFound:
    case QPdfDocument::Error::DataNotYetAvailable:
        risposta.motivo = MotivoTesto::Illeggibile;
        return risposta;
    default:
        risposta.motivo = MotivoTesto::Danneggiato;
        return risposta;
    }
    risposta.riuscita = true;
    risposta.pagine = documento.pageCount();
    QStringList pagine;
    for (int i = 0; i < risposta.pagine; ++i)
        pagine.append(documento.getAllText(i).text());
    risposta.testo = pagine.join(QLatin1Char('\f'));
    return risposta;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication applicazione(argc, argv);
    std::fputs(SalutoTesto, stdout);
    std::fflush(stdout);
    std::string riga;
    while (std::getline(std::cin, riga)) {
        const QByteArray risposta = ScriviRisposta(leggi(QString::fromStdString(riga)));
        std::fwrite(risposta.constData(), 1, size_t(risposta.size()), stdout);
        std::fflush(stdout);
    }
    return 0;
}
