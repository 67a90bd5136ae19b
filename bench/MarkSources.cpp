// Turns real Object Pascal sources (Free Pascal's own, from Debian's
// fpc-source package) into a documented project: every unit is copied with
// documentation markers added where a programmer would put them, and a
// project file lists the copies. The sources themselves stay as they are.
//   quorvel_mark_sources SOURCES OUT [MAX_UNITS]
// Writes OUT/units/N_name.pas and OUT/Real.dpr; prints the unit count.
//   quorvel_mark_sources --tree SOURCES OUT
// Copies a whole tree (Lazarus's own, from lazarus-src) with its project
// files, marking every Pascal file in place: each routine heading, in any
// letter case, constructors, destructors, operators and class methods
// among them, gets a //@ block "Rotina R<n>." with a number of its own,
// which a test can look for. Prints the number of blocks.
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

bool startsWithWord(const std::string& text, std::size_t at, const std::string& word)
{
    if (lower(text.substr(at, word.size())) != word)
        return false;
    const std::size_t after = at + word.size();
    return after >= text.size() || text[after] == ' ' || text[after] == '\t' || text[after] == '\r';
}

// True when the line, after its indentation, opens a routine heading of any
// kind a //@ block documents.
bool opensAnyRoutine(const std::string& line)
{
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos)
        return false;
    if (startsWithWord(line, at, "class")) {
        at = line.find_first_not_of(" \t", at + 5);
        if (at == std::string::npos)
            return false;
    }
    for (const char* word : {"procedure", "function", "constructor", "destructor", "operator"}) {
        if (startsWithWord(line, at, word))
            return true;
    }
    return false;
}

// Where a line leaves the reader: inside a { } comment, a (* *) comment, or
// in code. String literals and // comments end with their line.
enum class Inside
{
    Code,
    Brace,
    Paren,
};

Inside stateAfter(const std::string& line, Inside state)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (state == Inside::Brace) {
            if (c == '}')
                state = Inside::Code;
        } else if (state == Inside::Paren) {
            if (c == '*' && i + 1 < line.size() && line[i + 1] == ')') {
                state = Inside::Code;
                ++i;
            }
        } else if (c == '{') {
            state = Inside::Brace;
        } else if (c == '(' && i + 1 < line.size() && line[i + 1] == '*') {
            state = Inside::Paren;
            ++i;
        } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            break;
        } else if (c == '\'') {
            const std::size_t close = line.find('\'', i + 1);
            if (close == std::string::npos)
                break;
            i = close;
        }
    }
    return state;
}

// A file of the tree with a //@ block above each routine heading that
// stands in code, numbered from `next`.
std::string markInPlace(const std::string& source, long& next)
{
    std::string out;
    std::istringstream lines(source);
    std::string line;
    Inside state = Inside::Code;
    while (std::getline(lines, line)) {
        if (state == Inside::Code && opensAnyRoutine(line)) {
            const std::size_t indent = line.find_first_not_of(" \t");
            out += line.substr(0, indent) + "//@ Rotina R" + std::to_string(next++) + ".\n";
        }
        state = stateAfter(line, state);
        out += line;
        out += '\n';
    }
    return out;
}

int markTree(const fs::path& sources, const fs::path& out)
{
    std::vector<fs::path> files;
    for (const auto& entry :
         fs::recursive_directory_iterator(sources, fs::directory_options::skip_permission_denied)) {
        const std::string ext = lower(entry.path().extension().string());
        if (entry.is_regular_file() &&
            (ext == ".pas" || ext == ".pp" || ext == ".p" || ext == ".inc" || ext == ".lpr" ||
             ext == ".dpr" || ext == ".lpi" || ext == ".lpk" || ext == ".dproj"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end()); // the same numbers on every machine
    long next = 1;
    for (const fs::path& file : files) {
        const fs::path target = out / fs::relative(file, sources);
        fs::create_directories(target.parent_path());
        std::ifstream in(file, std::ios::binary);
        const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string ext = lower(file.extension().string());
        const bool isProjectFile = ext == ".lpi" || ext == ".lpk" || ext == ".dproj";
        std::ofstream(target, std::ios::binary) << (isProjectFile ? source : markInPlace(source, next));
    }
    std::printf("%ld\n", next - 1);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--tree")
        return markTree(argv[2], argv[3]);
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
