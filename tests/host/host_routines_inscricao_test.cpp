// Registration numbers: normalisation, person type, check digits and masks.
#include <gtest/gtest.h>

#include "host/inscricao.h"

namespace qbk::host {
namespace {

TEST(ValidCpf, acceptsRightCheckDigitsWithOrWithoutPunctuation) {
  EXPECT_TRUE(validCpf("529.982.247-25"));
  EXPECT_TRUE(validCpf("12345678909"));
  EXPECT_TRUE(validCpf("000.000.001-91"));
}

TEST(ValidCpf, refusesWrongDigitsWrongLengthAndRepeatedDigits) {
  EXPECT_FALSE(validCpf("529.982.247-24"));  // second check digit
  EXPECT_FALSE(validCpf("529.982.247-35"));  // first check digit
  EXPECT_FALSE(validCpf("111.111.111-11"));  // adds up, but no such person
  EXPECT_FALSE(validCpf("00000000000"));
  EXPECT_FALSE(validCpf("1234567890"));
  EXPECT_FALSE(validCpf("123456789090"));
  EXPECT_FALSE(validCpf("1234567890A"));
  EXPECT_FALSE(validCpf(""));
}

TEST(ValidCnpj, acceptsNumericAndAlphanumericNumbers) {
  EXPECT_TRUE(validCnpj("11.222.333/0001-81"));
  EXPECT_TRUE(validCnpj("11222333000181"));
  EXPECT_TRUE(validCnpj("12.ABC.345/01DE-35"));
  EXPECT_TRUE(validCnpj("12.abc.345/01de-35"));
  EXPECT_TRUE(validCnpj("A1B2C3D4E5F668"));
}

TEST(ValidCnpj, refusesWrongDigitsLettersInTheCheckDigitsAndRepeats) {
  EXPECT_FALSE(validCnpj("11.222.333/0001-80"));
  EXPECT_FALSE(validCnpj("11.222.333/0001-91"));
  EXPECT_FALSE(validCnpj("12.ABC.345/01DE-36"));
  // A letter weighs its code minus 48, not its place in the alphabet.
  EXPECT_FALSE(validCnpj("12.ABD.345/01DE-35"));
  EXPECT_FALSE(validCnpj("12ABC34501DE3A"));
  EXPECT_FALSE(validCnpj("00.000.000/0000-00"));  // adds up, but no such company
  EXPECT_FALSE(validCnpj("1122233300018"));
  EXPECT_FALSE(validCnpj("529.982.247-25"));
}

TEST(AjustaInscricao, dropsPunctuationAndTellsThePersonType) {
  std::string cpf = "529.982.247-25";
  EXPECT_EQ(Ajusta_Inscricao(cpf), 'F');
  EXPECT_EQ(cpf, "52998224725");

  std::string cnpj = " 11.222.333/0001-81 ";
  EXPECT_EQ(Ajusta_Inscricao(cnpj), 'J');
  EXPECT_EQ(cnpj, "11222333000181");

  std::string alpha = "12.abc.345/01de-35";
  EXPECT_EQ(Ajusta_Inscricao(alpha), 'J');
  EXPECT_EQ(alpha, "12ABC34501DE35");
  EXPECT_TRUE(validCnpj(alpha));
}

TEST(AjustaInscricao, restoresLeadingZerosLostByANumericColumn) {
  std::string cpf = "191";
  EXPECT_EQ(Ajusta_Inscricao(cpf), 'F');
  EXPECT_EQ(cpf, "00000000191");
  EXPECT_TRUE(validCpf(cpf));

  std::string cnpj = "1222333000181";  // 13 digits: no CPF has that many
  EXPECT_EQ(Ajusta_Inscricao(cnpj), 'J');
  EXPECT_EQ(cnpj, "01222333000181");
}

TEST(AjustaInscricao, neitherTypeForNothingOrTooMuch) {
  std::string empty = "./-";
  EXPECT_EQ(Ajusta_Inscricao(empty), ' ');
  EXPECT_EQ(empty, "");

  std::string tooLong = "112223330001810";
  EXPECT_EQ(Ajusta_Inscricao(tooLong), ' ');
  EXPECT_EQ(tooLong, "112223330001810");
}

TEST(PictPess, givesTheMaskOfEachPersonType) {
  EXPECT_EQ(PictPess("F"), "999.999.999-99");
  EXPECT_EQ(PictPess('j'), "AA.AAA.AAA/AAAA-99");
  EXPECT_EQ(PictPess(""), "");
  EXPECT_EQ(PictPess(" "), "");
  EXPECT_EQ(PictPess("FJ"), "");
}

TEST(FormatMaskText, insertsTheLiteralsOfTheMask) {
  EXPECT_EQ(FormatMaskText(PictPess("F"), "52998224725"), "529.982.247-25");
  EXPECT_EQ(FormatMaskText(PictPess("J"), "11222333000181"), "11.222.333/0001-81");
  EXPECT_EQ(FormatMaskText(PictPess("J"), "12ABC34501DE35"), "12.ABC.345/01DE-35");
  EXPECT_EQ(FormatMaskText("", "52998224725"), "52998224725");
  EXPECT_EQ(FormatMaskText("(99) 9999-9999", "1133334444"), "(11) 3333-4444");
}

TEST(FormatMaskText, aShortValueStopsAtItsLastCharacter) {
  EXPECT_EQ(FormatMaskText("999.999.999-99", "5299"), "529.9");
  EXPECT_EQ(FormatMaskText("999.999.999-99", "529"), "529");
  EXPECT_EQ(FormatMaskText("999.999.999-99", ""), "");
}

TEST(FormatMaskText, aLongValueKeepsItsSurplus) {
  EXPECT_EQ(FormatMaskText("999.999.999-99", "529982247251"), "529.982.247-251");
}

TEST(FormatMaskText, understandsMaskSettingsEscapesAndCase) {
  EXPECT_EQ(FormatMaskText("999;0; ", "12"), "12");
  EXPECT_EQ(FormatMaskText("99\\999", "123"), "1293");
  EXPECT_EQ(FormatMaskText(">aa<>-a", "bcd"), "BC-d");
  EXPECT_EQ(FormatMaskText("!999-9", "1234"), "123-4");
}

}  // namespace
}  // namespace qbk::host
