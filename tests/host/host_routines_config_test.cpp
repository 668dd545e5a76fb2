// Configuration: where it is read from, which source wins, and how bad values are reported.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "data/errors.h"
#include "host/config.h"
#include "support/expect_throw.h"

namespace qbk::host {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("qbk-config-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir / "qbk");
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path write(const std::string& text, const fs::path& name = "qbk/host.conf") {
    fs::path file = dir / name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

  Environment xdg() const { return {{"XDG_CONFIG_HOME", dir.string()}}; }

  fs::path dir;
};

TEST_F(ConfigTest, defaultsWithoutAnyFile) {
  HostConfig c = loadHostConfig({{"XDG_CONFIG_HOME", (dir / "none").string()}});
  EXPECT_EQ(c.webUrl, "127.0.0.1");
  EXPECT_EQ(c.webPort, 8051);
  EXPECT_EQ(c.reportDir, "");
  EXPECT_EQ(c.moduloAtiv, "F");
  EXPECT_EQ(c.database, "");
  EXPECT_EQ(c.dbPict(2), "9.9.99.99.999");
  EXPECT_EQ(c.dbPict(7), "");
}

TEST_F(ConfigTest, fileThenEnvironmentThenOverrides) {
  write(
      "# host do servidor\n"
      "web_url = servidor.local\n"
      "web_port=9000\n"
      "report_dir = /srv/relatorios\n"
      "modulo_ativ = /\n"
      "dbpict_2 = 9.99.999\n"
      "dbpict_5 = \"999;0; \"\n"
      "database = /var/lib/qbk/empresa.db\n");
  Environment env = xdg();
  env["QBK_WEB_PORT"] = "9100";
  env["QBK_DBPICT_2"] = "99.99";
  env["QBK_REPORT_DIR"] = "";  // empty counts as unset
  HostConfig c = loadHostConfig(env, {{"web_port", "9200"}, {"modulo_ativ", "F"}});

  EXPECT_EQ(c.webUrl, "servidor.local");
  EXPECT_EQ(c.webPort, 9200);
  EXPECT_EQ(c.reportDir, "/srv/relatorios");
  EXPECT_EQ(c.moduloAtiv, "F");
  EXPECT_EQ(c.dbPict(2), "99.99");
  EXPECT_EQ(c.dbPict(5), "999;0; ");
  EXPECT_EQ(c.database, "/var/lib/qbk/empresa.db");
}

TEST_F(ConfigTest, fileLocationFollowsQbkConfigThenXdgThenHome) {
  EXPECT_EQ(configFilePath({{"QBK_CONFIG", "/a.conf"}, {"XDG_CONFIG_HOME", "/x"}}),
            fs::path("/a.conf"));
  EXPECT_EQ(configFilePath({{"XDG_CONFIG_HOME", "/x"}, {"HOME", "/h"}}),
            fs::path("/x/qbk/host.conf"));
  EXPECT_EQ(configFilePath({{"HOME", "/h"}}), fs::path("/h/.config/qbk/host.conf"));
  EXPECT_EQ(configFilePath({}), std::nullopt);

  fs::path other = write("web_port = 7000\n", "outro.conf");
  Environment env = xdg();
  write("web_port = 8000\n");
  env["QBK_CONFIG"] = other.string();
  EXPECT_EQ(loadHostConfig(env).webPort, 7000);
}

TEST_F(ConfigTest, aNamedFileThatIsMissingIsAnError) {
  std::string missing = (dir / "falta.conf").string();
  EXPECT_THROW_MSG(loadHostConfig({{"QBK_CONFIG", missing}}), Error,
                   "Arquivo de configuração '" + missing + "' não encontrado.");
}

TEST_F(ConfigTest, badValuesNameTheFileLineAndKey) {
  fs::path file = write("web_url = x\n\nweb_port = 80a\n");
  EXPECT_THROW_MSG(
      loadHostConfig(xdg()), Error,
      "Configuração inválida (" + file.string() +
          ", linha 3), chave 'web_port': porta '80a' deve ser um número de 1 a 65535.");

  write("web_port = 65536\n");
  EXPECT_THROW_MSG(loadHostConfig(xdg()), Error, HasSubstr("linha 1"));
  write("web_port = 0\n");
  EXPECT_THROW_MSG(loadHostConfig(xdg()), Error, HasSubstr("web_port"));

  write("webport = 1\n");
  EXPECT_THROW_MSG(loadHostConfig(xdg()), Error,
                   "Configuração inválida (" + file.string() +
                       ", linha 1), chave 'webport': chave desconhecida.");
  write("web_port\n");
  EXPECT_THROW_MSG(
      loadHostConfig(xdg()), Error,
      "Configuração inválida (" + file.string() + ", linha 1): esperado \"chave = valor\".");
  write("modulo_ativ = FF\n");
  EXPECT_THROW_MSG(loadHostConfig(xdg()), Error, HasSubstr("modulo_ativ"));
  write("dbpict_x = 99\n");
  EXPECT_THROW_MSG(loadHostConfig(xdg()), Error, HasSubstr("dbpict_x"));
  write("web_url =   \n");
  EXPECT_THROW_MSG(loadHostConfig(xdg()), Error, HasSubstr("web_url"));
}

TEST_F(ConfigTest, badEnvironmentAndOverrideValuesNameTheirSource) {
  EXPECT_THROW_MSG(loadHostConfig({{"QBK_WEB_PORT", "porta"}}), Error,
                   "Configuração inválida (variável de ambiente QBK_WEB_PORT), chave 'web_port': "
                   "porta 'porta' deve ser um número de 1 a 65535.");
  EXPECT_THROW_MSG(
      loadHostConfig({}, {{"web_port", "-1"}}), Error,
      "Configuração inválida (linha de comando), chave 'web_port': porta '-1' deve ser "
      "um número de 1 a 65535.");
  // Variables of other tools that share the prefix are not ours to judge.
  EXPECT_NO_THROW(loadHostConfig({{"QBK_SERVER_BIN", "/bin/x"}}));
}

TEST_F(ConfigTest, toleratesWindowsLineEndsAByteOrderMarkAndHashesInValues) {
  write("\xEF\xBB\xBFweb_port = 9001\r\n  # comentário\r\ndbpict_3 = ###-##\r\n");
  HostConfig c = loadHostConfig(xdg());
  EXPECT_EQ(c.webPort, 9001);
  EXPECT_EQ(c.dbPict(3), "###-##");
}

}  // namespace
}  // namespace qbk::host
