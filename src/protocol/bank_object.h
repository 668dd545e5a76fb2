// The bank remote object as client and server both name it: its path, its methods, the
// local-cache names a save announces, and the fields whose names travel with SetBanco.
#pragma once

#include <array>
#include <string_view>

namespace qbk::protocol {

// The name of the remote object, as it appears in the request path.
inline constexpr std::string_view kBankObjectName = "Qbk51200.rdmBanco";

// The methods of the remote object.
namespace method {
inline constexpr const char* GetBanco = "GetBanco";
inline constexpr const char* GetErrCnabPag = "GetErrCnabPag";
inline constexpr const char* GetErrCnabRec = "GetErrCnabRec";
inline constexpr const char* GetBancoDDA = "GetBancoDDA";
inline constexpr const char* GetEmprBanc = "GetEmprBanc";
inline constexpr const char* GetInstruCobr = "GetInstruCobr";
inline constexpr const char* GetPesqInstru = "GetPesqInstru";
inline constexpr const char* GetCodigoPag = "GetCodigoPag";
inline constexpr const char* GetCodigoRec = "GetCodigoRec";
inline constexpr const char* VerifInstru = "VerifInstru";
inline constexpr const char* SetBanco = "SetBanco";
inline constexpr const char* SetErrCnabPag = "SetErrCnabPag";
inline constexpr const char* SetErrCnabRec = "SetErrCnabRec";
inline constexpr const char* SetEmprBanc = "SetEmprBanc";
inline constexpr const char* SetInstruCobr = "SetInstruCobr";
inline constexpr const char* SetBancoDDA = "SetBancoDDA";
inline constexpr const char* ExecProcMsgPadraoBanco = "ExecProcMsgPadraoBanco";
}  // namespace method

// The names the host's local cache is told after a successful save. A deleted return
// code is announced as "DELETECAHE", the name the host knows deletions by.
namespace cache {
inline constexpr const char* Banco = "BANCO";
inline constexpr const char* EmprBanc = "EMPRBANC";
inline constexpr const char* ErrCnabPag = "ERRCNABP";
inline constexpr const char* ErrCnabRec = "ERRCNABR";
inline constexpr const char* InstruCobr = "INSTCOBRANCA";
inline constexpr const char* Deletion = "DELETECAHE";
}  // namespace cache

// The BANCO fields whose names travel beside a SetBanco delta, in call order: the name when
// the field is null in the current record, else the empty text.
inline constexpr std::array<std::string_view, 9> kBancoNullableFields = {
    "DSARQBOLCOMP", "DSARQBOLPREI", "DSARQCHEQUE",  "DSARQBORDREC", "DSARQBORDPAG",
    "DSARQBORDCHQ", "DSARQLOGMAR",  "QTDIAPRORCNT", "CDBANCOCONV"};

}  // namespace qbk::protocol
