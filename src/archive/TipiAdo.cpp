#include "archive/TipiAdo.h"

#include "archive/Recordset.h"

TipoDatoAdo TipoAdo(const Recordset& recordset, int indice)
{
    switch (recordset.TipoDelCampo(indice)) {
    case TipoCampo::Intero:
        return TipoDatoAdo::Intero;
    case TipoCampo::Decimale:
        return TipoDatoAdo::Doppio;
    case TipoCampo::Data:
    case TipoCampo::DataOra:
        return TipoDatoAdo::Data;
    case TipoCampo::Binario:
        return TipoDatoAdo::BinarioLungo;
    case TipoCampo::Testo:
        break;
    }
    return recordset.DimensioneCampo(indice) > 0 ? TipoDatoAdo::Testo : TipoDatoAdo::TestoLungo;
}

int DimensioneDefinita(const Recordset& recordset, int indice)
{
    switch (TipoAdo(recordset, indice)) {
    case TipoDatoAdo::Intero:
        return 4;
    case TipoDatoAdo::Doppio:
    case TipoDatoAdo::Data:
        return 8;
    case TipoDatoAdo::Testo:
        return recordset.DimensioneCampo(indice);
    case TipoDatoAdo::BinarioLungo:
        return 1073741823;
    case TipoDatoAdo::TestoLungo:
        break;
    }
    return 536870910;
}
