// Makes an archive of documents for the benchmarks:
//   velmira_bench_genera FILE [ROWS]   (ROWS defaults to 1,000,000)
#include "GeneraArchivio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    if (argomenti.size() < 2) {
        std::fprintf(stderr, "uso: %s FILE [RIGHE]\n", argv[0]);
        return 2;
    }
    const int righe = argomenti.size() > 2 ? argomenti[2].toInt() : 1000000;
    QElapsedTimer tempo;
    tempo.start();
    const Errore errore = GeneraArchivio(argomenti[1], righe);
    if (errore.presente()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(errore.testo()));
        return 1;
    }
    std::printf("%d righe in %.1f s\n", righe, double(tempo.elapsed()) / 1000.0);
    return 0;
}
