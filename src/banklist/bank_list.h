// A list of financial institutions with a clearing-house (COMPE) code, read from one of the
// two files a person may have:
//  - the central bank's file of STR participants as downloaded, with the header
//    ISPB,Nome_Reduzido,Número_Código,Participa_da_Compe,Acesso_Principal,Nome_Extenso,
//    Início_da_Operação ("n/a" where an institution has no code);
//  - the list the product ships (data/bancos-brasileiros.csv), with the header
//    COMPE,ISPB,Document,LongName,ShortName,Network,Type,Charge,DateOperationStarted.
// Copies that a spreadsheet saved again are read too: a byte-order mark or none, UTF-8 or
// Windows-1252, "," or ";" between fields, codes and ISPBs that lost their leading zeros,
// names padded with blanks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qbk::banklist {

enum class ListFormat { CentralBank, Shipped };

struct Institution {
  std::string code;       // three digits
  std::string longName;   // blanks trimmed and runs of blanks made one
  std::string shortName;  // the central bank's short name, upper case
  int line = 0;           // where the row was read
};

struct BankList {
  ListFormat format = ListFormat::Shipped;
  std::vector<Institution> institutions;  // in code order
  int withoutCode = 0;                    // rows left out: the institution has no code
};

// The first 50 characters of `text`, for messages that quote what they found.
std::string quoted(std::string_view text);

// Throws ListError naming the line: another format, a malformed row, a code that is not
// three digits once left-filled with zeros, a code given twice.
BankList parseBankList(std::string_view text);

// Reads the file at `path`; a file that cannot be read is a ListError too (line 0).
BankList readBankListFile(const std::string& path);

// The list compiled into the program, and how the preview and the command name it.
BankList builtInBankList();
inline constexpr std::string_view kBuiltInListName =
    "lista embutida (BancosBrasileiros, 22/08/2026)";

}  // namespace qbk::banklist
