#pragma once

#include "common/Errore.h"
#include "indice/ProtocolloTesto.h"

#include <QString>

#include <memory>

class QProcess;

// The text of PDF files read by the helper velmira-testo in a process of its
// own, one file at a time: a library that crashes or hangs on a hostile file
// takes only the helper down. A file that takes longer than the limit ends
// the helper, which starts again for the next one. Blocking: meant for a
// thread of work or a command-line run, not for a window's own thread.
class EstrattoreTesto
{
public:
    explicit EstrattoreTesto(int limiteMillisecondi, const QString& eseguibile = EseguibilePredefinito());
    ~EstrattoreTesto();
    EstrattoreTesto(const EstrattoreTesto&) = delete;
    EstrattoreTesto& operator=(const EstrattoreTesto&) = delete;

    // The text of the file, the error of a helper that cannot be run, or a
    // failure of this file (code TestoDocumento) whose description says why
    // in the office's words.
    Risultato<RispostaTesto> Estrai(const QString& percorso);

    // velmira-testo beside the running executable, or the one named by
    // ImpostaEseguibilePredefinito (tests, whose executables lie elsewhere).
    static QString EseguibilePredefinito();
    static void ImpostaEseguibilePredefinito(const QString& eseguibile);

    static constexpr int limitePredefinito = 10000;

private:
    Errore avvia();
    void ferma();

    int limite_;
    QString eseguibile_;
    std::unique_ptr<QProcess> processo_;
    LettoreRisposte lettore_;
};
