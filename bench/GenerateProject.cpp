// Writes a synthetic Object Pascal project for the benchmarks: long units that
// look like real code (nested brace and line comments, string literals, long
// lines, every kind of documentation block), Windows-1252 with CR LF.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

class UnitWriter
{
public:
    UnitWriter(std::mt19937& rng, int unitIndex, int maxStatements)
        : m_rng(rng), m_unit(unitIndex), m_maxStatements(maxStatements)
    {}

    std::string write(std::size_t targetBytes)
    {
        line("unit U" + std::to_string(m_unit) + "Modulo;");
        line("");
        line("//? Ajuda da unit " + std::to_string(m_unit));
        line("//* Esta unit reúne as rotinas de cadastro e de relatório do módulo.");
        line("//+ Cada rotina confere os parâmetros antes de gravar.");
        line("");
        line("interface");
        line("");
        line("uses SysUtils, Classes, DB, SqlExpr;");
        line("");
        int routine = 0;
        while (m_out.size() < targetBytes)
            routineBlock(routine++);
        line("end.");
        return std::move(m_out);
    }

private:
    void line(const std::string& text)
    {
        m_out += text;
        m_out += "\r\n";
    }

    int pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

    std::string name(int routine) const
    {
        return "Rotina" + std::to_string(m_unit) + "_" + std::to_string(routine);
    }

    void routineBlock(int routine)
    {
        switch (pick(12)) {
        case 0:
            line("//# tabela_" + std::to_string(m_unit) + "_" + std::to_string(routine));
            line("//* Registros do cadastro; a chave é o código sequencial.");
            break;
        case 1:
            line("//* Comentário sem marcador acima: vira comentário órfão.");
            break;
        case 2:
            line("//? Observação " + std::to_string(routine));
            line("//* Texto de ajuda geral com acentuação: ação, opção, câmbio.");
            break;
        default:
            break;
        }
        line("//@ Processa o item " + std::to_string(routine) + " e devolve o total calculado.");
        line("//* Parâmetros: o código do cliente e a data de referência.");
        line("//+ Uma exceção é levantada quando o cliente não existe.");
        const bool isFunction = pick(2) == 0;
        if (isFunction)
            line("function TModulo" + std::to_string(m_unit) + "." + name(routine) +
                 "(const Codigo: integer; Data: TDateTime): Currency;");
        else
            line("procedure TModulo" + std::to_string(m_unit) + "." + name(routine) +
                 "(Sender: TObject; var Total: integer);");
        line("var");
        line("  i, j: integer;");
        line("  Texto: string;");
        line("begin");
        const int statements = 1 + pick(m_maxStatements);
        for (int s = 0; s < statements; ++s)
            statement(1 + pick(4));
        line("end;");
        line("");
    }

    void statement(int depth)
    {
        const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
        switch (pick(9)) {
        case 0:
            line(indent + "{ comentário de bloco { aninhado } que continua");
            line(indent + "  por mais uma linha }");
            break;
        case 1:
            line(indent + "// comentário comum: não entra na documentação");
            break;
        case 2:
            line(indent + "Texto := 'Valor com ''aspas'' e acentuação: ' + IntToStr(i) + #13#10;");
            break;
        case 3:
            line(indent + "for i := 0 to Lista.Count - 1 do");
            line(indent + "  if (Lista[i] <> nil) and (Lista[i].Valor >= 10.5) then");
            line(indent + "    Total := Total + Lista[i].Quantidade * 3;");
            break;
        case 4: {
            std::string longLine = indent + "Resultado := ";
            for (int k = 0; k < 40; ++k)
                longLine += "Calcula(Valor" + std::to_string(k) + ", $FF, 1e5) + ";
            longLine += "0;";
            line(longLine);
            break;
        }
        case 5:
            line(indent + "try");
            line(indent +
                 "  Consulta.SQL.Text := 'select * from clientes where codigo = ' + IntToStr(Codigo);");
            line(indent + "except");
            line(indent + "  on E: Exception do raise;");
            line(indent + "end;");
            break;
        case 6:
            line("\t" + indent + "Tabulado := j shl 2; (* comentário entre parênteses *)");
            break;
        default:
            line(indent + "j := j + i * 2 - 1; Texto := Texto + '.';");
            break;
        }
    }

    std::mt19937& m_rng;
    int m_unit;
    int m_maxStatements;
    std::string m_out;
};

// UTF-8 literals above, Windows-1252 on disk.
std::string toWindows1252(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == 0xC3 && i + 1 < utf8.size()) {
            out += static_cast<char>(static_cast<unsigned char>(utf8[++i]) + 0x40);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "uso: %s PASTA MEGABYTES [KB_POR_UNIT [COMANDOS_POR_ROTINA]]\n", argv[0]);
        return 1;
    }
    const std::filesystem::path folder = argv[1];
    const double megabytes = std::atof(argv[2]);
    const std::size_t unitBytes = (argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 400) * 1024;
    const int maxStatements = argc > 4 ? std::atoi(argv[4]) : 38;
    const auto total = static_cast<std::size_t>(megabytes * 1024 * 1024);
    std::filesystem::create_directories(folder / "fontes");

    std::mt19937 rng(20261209);
    std::string project = "program Projeto;\r\n\r\nuses\r\n  Forms";
    std::size_t written = 0;
    int unit = 0;
    while (written < total) {
        const std::string text = toWindows1252(UnitWriter(rng, unit, maxStatements).write(unitBytes));
        const std::string number = std::to_string(unit);
        std::string file = "U";
        file.append(number).append("Modulo.pas");
        std::ofstream(folder / "fontes" / file, std::ios::binary) << text;
        project.append(",\r\n  U").append(number).append("Modulo in 'fontes\\").append(file).append("'");
        written += text.size();
        ++unit;
    }
    project += ";\r\n\r\nbegin\r\n  Application.Run;\r\nend.\r\n";
    std::ofstream(folder / "Projeto.dpr", std::ios::binary) << project;
    std::printf("%d units, %zu bytes\n", unit, written);
    return 0;
}
