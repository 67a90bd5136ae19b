// Turns real Object Pascal sources (Free Pascal's own, from Debian's
// fpc-source package) into a documented project: every unit is copied with
// documentation markers added where a programmer would put them, and a
// project file lists the copies. The sources themselves stay as they are.
//   quorvel_mark_sources SOURCES OUT [MAX_UNITS]
// Writes OUT/units/N_name.pas and OUT/Real.dpr; prints the unit count.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool isUnitFile(const fs::path& path)
{
    const std::string ext = path.extension().string();
    return ext == ".pas" || ext == ".pp";
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// True when the line, after its indentation, opens a routine heading.
bool opensRoutine(const std::string& line)
{
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos)
        return false;
    const std::string head = lower(line.substr(start, 10));
    return head.rfind("procedure ", 0) == 0 || head.rfind("function ", 0) == 0;
}

// The unit with its markers: a general help at the top, a routine block
// before each routine heading, now and then a table block and an orphan.
std::string mark(const std::string& source, const std::string& name)
{
    std::string out = "//? Ajuda de " + name + "\n//* Unit documentada a partir das fontes reais.\n";
    std::istringstream lines(source);
    std::string line;
    int number = 0;
    int routines = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (opensRoutine(line)) {
            ++routines;
            if (routines % 50 == 0)
                out += "//# camara.tabela" + std::to_string(routines) + "\n//* Tabela lida pela rotina.\n";
            out += "//@ Rotina da linha " + std::to_string(number) +
                   ".\n//* Primeiro parágrafo.\n//+ continua.\n";
        } else if (number % 400 == 0) {
            out += "//* Nota sem bloco na linha " + std::to_string(number) + ".\n";
        }
        out += line;
        out += '\n';
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "uso: quorvel_mark_sources FONTES SAIDA [MAXIMO_DE_UNITS]\n");
        return 1;
    }
    const fs::path sources = argv[1];
    const fs::path out = argv[2];
    const std::size_t maxUnits = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : SIZE_MAX;

    std::vector<fs::path> units;
    for (const auto& entry :
         fs::recursive_directory_iterator(sources, fs::directory_options::skip_permission_denied)) {
        if (entry.is_regular_file() && isUnitFile(entry.path()))
            units.push_back(entry.path());
    }
    std::sort(units.begin(), units.end()); // the same project on every machine
    if (units.size() > maxUnits) {
        // Spread over the whole tree: the compiler, the run-time library and
        // the packages all have their share.
        std::vector<fs::path> chosen;
        for (std::size_t i = 0; i < maxUnits; ++i)
            chosen.push_back(units[i * units.size() / maxUnits]);
        units = std::move(chosen);
    }

    fs::create_directories(out / "units");
    std::string project = "program Real;\r\n\r\nuses\r\n";
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::ifstream in(units[i], std::ios::binary);
        const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string name = std::to_string(i + 1) + "_" + units[i].stem().string();
        std::ofstream(out / "units" / (name + ".pas"), std::ios::binary) << mark(source, name);
        project += "  U" + std::to_string(i + 1) + " in 'units\\" + name + ".pas'" +
                   (i + 1 < units.size() ? ",\r\n" : ";\r\n");
    }
    project += "\r\nbegin\r\nend.\r\n";
    std::ofstream(out / "Real.dpr", std::ios::binary) << project;
    std::printf("%zu\n", units.size());
    return 0;
}
