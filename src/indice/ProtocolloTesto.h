#pragma once

#include "common/Errore.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What the text reader velmira-testo says on its standard output: first
// SalutoTesto, once it is ready, then an answer for each path it is given,
// one after the other:
//   "testo PAGINE BYTE\n" and BYTE bytes of UTF-8 text, pages separated by '\f';
//   "errore MOTIVO BYTE\n" and BYTE bytes of the library's words, where
//   MOTIVO is one of the words of MotivoTesto.
inline constexpr char SalutoTesto[] = "velmira-testo 1\n";

enum class MotivoTesto { Danneggiato, Cifrato, Illeggibile };

struct RispostaTesto
{
    bool riuscita = false;
    int pagine = 0;
    QString testo;           // the text, or the library's words on a failure
    MotivoTesto motivo = MotivoTesto::Danneggiato;
};

QByteArray ScriviRisposta(const RispostaTesto& risposta);

// Reads the answers out of what arrives, in whatever pieces it arrives.
// Anything that is not an answer (a header of the wrong form, a length
// beyond the largest text a document may give) is an error from which the
// reader does not recover: the reader process is not to be trusted further.
class LettoreRisposte
{
public:
    void Aggiungi(const QByteArray& dati) { dati_ += dati; }
    // The next whole answer, nothing while it is incomplete, or the error.
    std::optional<Risultato<RispostaTesto>> Prossima();
    bool Vuoto() const { return dati_.isEmpty(); }

    // More text than any document of the office holds.
    static constexpr qsizetype testoMassimo = 64 * 1024 * 1024;

private:
    QByteArray dati_;
};
