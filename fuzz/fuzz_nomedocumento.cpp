// A PDF file name cut into its document key, with the field widths read from
// a spooling.ini that varies too. Input: the spooling.ini text; its last line
// is the file name.
//
// What must hold: a name of the right length that gives a key is the key put
// back together (the date slot as it stood before rearranging), each field as
// wide as its width says; the archive row carries the name, a valid date and
// the code and number either as cut or as the whole number they stand for.

#include <algorithm>
#include "SupportoFuzz.h"

#include "common/Testo.h"
#include "import/NomeDocumento.h"

namespace {

// The date slot as the name had it: a rearranged dd/mm/yyyy goes back to yyyymmdd.
QString SlotData(const QString& dataChiave, const QString& slotNome)
{
    if (dataChiave == slotNome)
        return dataChiave;
    return dataChiave.mid(6) + dataChiave.mid(3, 2) + dataChiave.left(2);
}

// A normalised field is the text as cut, or the whole number that text stands for.
bool NormalizzatoBene(const QString& cut, const QString& normale)
{
    if (normale == cut)
        return true;
    const auto numero = InteroDaTesto(cut);
    return numero && normale == QString::number(*numero);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QString testo = TestoDaByte(dati, dimensione);
    const qsizetype a = testo.lastIndexOf(QLatin1Char('\n'));
    const QString nome = testo.mid(a + 1);
    const QByteArray ini = testo.left(a + 1).toUtf8();
    const QString fileIni = ScriviFileFuzz(QStringLiteral("spooling.ini"),
                                           reinterpret_cast<const uint8_t*>(ini.constData()),
                                           size_t(ini.size()));

    const Risultato<LunghezzeCampi> esito = LeggiLunghezzeCampi(fileIni);
    MessaggiMostrati();
    if (!esito) {
        if (esito.errore().descrizione.isEmpty())
            Violazione("widths that cannot be used come with the reason", fileIni);
        return 0;
    }
    const LunghezzeCampi l = *esito;
    if (l.LunCodCli < 0 || l.LunTipDoc < 0 || l.LunNumDoc < 0 || !l.LunghezzaNome())
        Violazione("widths given for use are never negative and their sum fits", QString());

    // The engine cuts only names of the right length, but no name may break the cutting.
    const ChiaveDocumento chiave = ScomponiNomeFile(nome, l);
    if (LunghezzaNonValida(nome, l) || chiave.Vuota()) {
        if (chiave.Vuota() && !(chiave.Codice + chiave.Tipo + chiave.Numero + chiave.Data).isEmpty())
            Violazione("an empty key has four empty texts", nome);
        return 0;
    }

    const int lc = l.LunCodCli, lt = l.LunTipDoc, ln = l.LunNumDoc;
    const QString slot = nome.mid(lc + lt + ln, 8);
    const QString ricomposto = chiave.Codice + chiave.Tipo + chiave.Numero
        + SlotData(chiave.Data, slot) + nome.right(4);
    if (ricomposto != nome || chiave.Codice.size() != lc || chiave.Tipo.size() != lt
        || chiave.Numero.size() != ln)
        Violazione("the key put back together is the name",
                   QStringLiteral("nome «%1» ricomposto «%2» larghezze %3/%4/%5")
                       .arg(nome, ricomposto)
                       .arg(lc)
                       .arg(lt)
                       .arg(ln));

    const RigaPosta riga = RigaDocumento(nome, chiave);
    if (riga.Stampa != nome || !riga.Data.isValid() || !riga.email.isEmpty()
        || riga.Tipo != chiave.Tipo || !NormalizzatoBene(chiave.Numero, riga.NumDoc)
        || !NormalizzatoBene(chiave.Codice, riga.Codice))
        Violazione("the archive row is the key's", nome);
    // A slot of eight digits is the layout the names are written in; anything
    // else that passes is read by the general date rules (blanks around a part
    // allowed), and is held only to giving a valid date, checked above.
    const bool soloCifre = std::all_of(slot.cbegin(), slot.cend(),
                                       [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (soloCifre && riga.Data.toString(QStringLiteral("dd/MM/yyyy")) != chiave.Data
        && chiave.Data != slot)
        Violazione("a rearranged date is stored as the day it names", nome);
    return 0;
}
