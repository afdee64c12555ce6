#include "archive/TipiAdo.h"

#include "archive/Recordset.h"

namespace {
constexpr int adInteger = 3;
constexpr int adDouble = 5;
constexpr int adDate = 7;
constexpr int adVarWChar = 202;
constexpr int adLongVarWChar = 203;
constexpr int adLongVarBinary = 205;
}

int TipoAdo(const Recordset& recordset, int indice)
{
    switch (recordset.TipoDelCampo(indice)) {
    case TipoCampo::Intero:
        return adInteger;
    case TipoCampo::Decimale:
        return adDouble;
    case TipoCampo::Data:
    case TipoCampo::DataOra:
        return adDate;
    case TipoCampo::Binario:
        return adLongVarBinary;
    case TipoCampo::Testo:
        break;
    }
    return recordset.DimensioneCampo(indice) > 0 ? adVarWChar : adLongVarWChar;
}

int DimensioneDefinita(const Recordset& recordset, int indice)
{
    switch (TipoAdo(recordset, indice)) {
    case adInteger:
        return 4;
    case adDouble:
    case adDate:
        return 8;
    case adVarWChar:
        return recordset.DimensioneCampo(indice);
    case adLongVarBinary:
        return 1073741823;
    default:
        return 536870910;
    }
}
