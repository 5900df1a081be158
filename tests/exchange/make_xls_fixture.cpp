// Writes fixtures/annexes.xls: a minimal Excel 97-2003 workbook (BIFF8 records in an OLE2 compound file)
// with two sheets, "Annexe I" (a title row and three Annex I rows) and "Tiers" (a title row and two third
// parties). Run once when the fixture must change: make_xls_fixture <path>. See README.md.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void u8(Bytes &b, unsigned v) {
    b.push_back(static_cast<unsigned char>(v));
}
void u16(Bytes &b, unsigned v) {
    u8(b, v & 0xFF), u8(b, (v >> 8) & 0xFF);
}
void u32(Bytes &b, std::uint32_t v) {
    u16(b, v & 0xFFFF), u16(b, v >> 16);
}
void f64(Bytes &b, double d) {
    unsigned char raw[8];
    std::memcpy(raw, &d, 8);
    b.insert(b.end(), raw, raw + 8);
}
void record(Bytes &stream, unsigned type, const Bytes &data) {
    u16(stream, type);
    u16(stream, static_cast<unsigned>(data.size()));
    stream.insert(stream.end(), data.begin(), data.end());
}

// UTF-8 to UTF-16 code units (the fixture's texts are in the Basic Multilingual Plane).
std::vector<unsigned> utf16(const std::string &s) {
    std::vector<unsigned> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out.push_back(c), i += 1;
        } else if ((c & 0xE0) == 0xC0) {
            out.push_back(((c & 0x1F) << 6) | (s[i + 1] & 0x3F)), i += 2;
        } else {
            out.push_back(((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F)), i += 3;
        }
    }
    return out;
}

struct Date {
    double serial; // days since 30/12/1899
};
using Cell = std::variant<std::monostate, std::string, double, Date>;
using Row = std::vector<Cell>;
struct Sheet {
    std::string name;
    std::vector<Row> rows;
};

Bytes bof(unsigned kind) {
    Bytes b;
    u16(b, 0x0600), u16(b, kind), u16(b, 0x0DBB), u16(b, 0x07CC), u32(b, 0), u32(b, 0x06);
    return b;
}

Bytes workbookStream(const std::vector<Sheet> &sheets) {
    std::vector<std::string> strings;
    auto stringIndex = [&](const std::string &s) {
        for (std::size_t i = 0; i < strings.size(); ++i)
            if (strings[i] == s)
                return static_cast<std::uint32_t>(i);
        strings.push_back(s);
        return static_cast<std::uint32_t>(strings.size() - 1);
    };
    // The sheets' cell records first, to know the strings.
    std::vector<Bytes> bodies;
    for (const Sheet &sheet : sheets) {
        Bytes s;
        record(s, 0x0809, bof(0x0010));
        std::size_t columns = 0;
        for (const Row &r : sheet.rows)
            columns = std::max(columns, r.size());
        Bytes dim;
        u32(dim, 0), u32(dim, static_cast<std::uint32_t>(sheet.rows.size())), u16(dim, 0),
            u16(dim, static_cast<unsigned>(columns)), u16(dim, 0);
        record(s, 0x0200, dim);
        for (std::size_t r = 0; r < sheet.rows.size(); ++r)
            for (std::size_t c = 0; c < sheet.rows[r].size(); ++c) {
                const Cell &cell = sheet.rows[r][c];
                Bytes d;
                u16(d, static_cast<unsigned>(r)), u16(d, static_cast<unsigned>(c));
                if (const auto *text = std::get_if<std::string>(&cell)) {
                    u16(d, 15), u32(d, stringIndex(*text));
                    record(s, 0x00FD, d); // LABELSST
                } else if (const auto *number = std::get_if<double>(&cell)) {
                    u16(d, 15), f64(d, *number);
                    record(s, 0x0203, d); // NUMBER
                } else if (const auto *date = std::get_if<Date>(&cell)) {
                    u16(d, 16), f64(d, date->serial); // XF 16: built-in format 14, a date
                    record(s, 0x0203, d);
                }
            }
        record(s, 0x000A, {});
        bodies.push_back(s);
    }

    Bytes globals;
    record(globals, 0x0809, bof(0x0005));
    Bytes codepage;
    u16(codepage, 0x04B0);
    record(globals, 0x0042, codepage); // UTF-16
    Bytes datemode;
    u16(datemode, 0);
    record(globals, 0x0022, datemode); // 1900
    Bytes font;
    u16(font, 200), u16(font, 0), u16(font, 0x7FFF), u16(font, 400), u16(font, 0), u8(font, 0), u8(font, 0),
        u8(font, 0), u8(font, 0), u8(font, 5), u8(font, 1);
    for (char c : std::string("Arial"))
        u8(font, static_cast<unsigned char>(c));
    for (int i = 0; i < 5; ++i)
        record(globals, 0x0031, font); // font 4 is never used, as Excel does
    // 15 style XFs, then XF 15 (general) and XF 16 (date) for cells.
    for (int i = 0; i < 17; ++i) {
        Bytes xf;
        u16(xf, 0), u16(xf, i == 16 ? 14 : 0), u16(xf, i < 15 ? 0xFFF5 : 0x0001), u16(xf, 0x20), u16(xf, 0),
            u32(xf, 0), u32(xf, 0), u16(xf, 0x20C0);
        record(globals, 0x00E0, xf);
    }
    std::vector<std::size_t> boundsheetPos;
    for (const Sheet &sheet : sheets) {
        boundsheetPos.push_back(globals.size() + 4);
        Bytes bs;
        u32(bs, 0), u16(bs, 0);
        const std::vector<unsigned> name = utf16(sheet.name);
        u8(bs, static_cast<unsigned>(name.size())), u8(bs, 1);
        for (unsigned ch : name)
            u16(bs, ch);
        record(globals, 0x0085, bs);
    }
    Bytes sst;
    u32(sst, static_cast<std::uint32_t>(strings.size())),
        u32(sst, static_cast<std::uint32_t>(strings.size()));
    for (const std::string &s : strings) {
        const std::vector<unsigned> chars = utf16(s);
        u16(sst, static_cast<unsigned>(chars.size())), u8(sst, 1);
        for (unsigned ch : chars)
            u16(sst, ch);
    }
    record(globals, 0x00FC, sst);
    record(globals, 0x000A, {});

    Bytes stream = globals;
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        const auto offset = static_cast<std::uint32_t>(stream.size());
        for (int k = 0; k < 4; ++k)
            stream[boundsheetPos[i] + k] = static_cast<unsigned char>(offset >> (8 * k));
        stream.insert(stream.end(), bodies[i].begin(), bodies[i].end());
    }
    return stream;
}

// The compound file: sector 0 the FAT, sector 1 the directory, then the "Workbook" stream, at least 4096
// bytes so that it lives in ordinary sectors rather than the mini stream.
Bytes compoundFile(Bytes stream) {
    if (stream.size() < 4096)
        stream.resize(4096, 0);
    const std::size_t sectors = (stream.size() + 511) / 512;
    Bytes out;
    const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    out.insert(out.end(), signature, signature + 8);
    out.resize(24, 0);
    u16(out, 0x003E), u16(out, 0x0003), u16(out, 0xFFFE), u16(out, 9), u16(out, 6);
    out.resize(40, 0);
    u32(out, 0), u32(out, 1), u32(out, 1), u32(out, 0), u32(out, 4096), u32(out, 0xFFFFFFFE), u32(out, 0),
        u32(out, 0xFFFFFFFE), u32(out, 0);
    u32(out, 0); // the FAT is sector 0
    for (int i = 1; i < 109; ++i)
        u32(out, 0xFFFFFFFF);

    Bytes fat;
    u32(fat, 0xFFFFFFFD), u32(fat, 0xFFFFFFFE);
    for (std::size_t i = 0; i < sectors; ++i)
        u32(fat, i + 1 == sectors ? 0xFFFFFFFE : static_cast<std::uint32_t>(i + 3));
    while (fat.size() < 512)
        u32(fat, 0xFFFFFFFF);
    out.insert(out.end(), fat.begin(), fat.end());

    auto entry = [](const std::string &name, unsigned type, std::uint32_t child, std::uint32_t start,
                    std::uint32_t size) {
        Bytes e;
        for (char c : name)
            u16(e, static_cast<unsigned char>(c));
        e.resize(64, 0);
        u16(e, name.empty() ? 0 : static_cast<unsigned>(2 * (name.size() + 1)));
        u8(e, type), u8(e, 1);
        u32(e, 0xFFFFFFFF), u32(e, 0xFFFFFFFF), u32(e, child);
        e.resize(116, 0);
        u32(e, start), u32(e, size), u32(e, 0);
        return e;
    };
    Bytes dir;
    for (const Bytes &e : {entry("Root Entry", 5, 1, 0xFFFFFFFE, 0),
                           entry("Workbook", 2, 0xFFFFFFFF, 2, static_cast<std::uint32_t>(stream.size())),
                           entry("", 0, 0xFFFFFFFF, 0, 0), entry("", 0, 0xFFFFFFFF, 0, 0)})
        dir.insert(dir.end(), e.begin(), e.end());
    out.insert(out.end(), dir.begin(), dir.end());
    stream.resize(sectors * 512, 0);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s annexes.xls\n", argv[0]);
        return 2;
    }
    const Date end{43465}, start{43101}; // 31/12/2018, 01/01/2018
    Sheet annex{"Annexe I",
                {{std::string("Code"),         std::string("Exercice"),
                  std::string("N°"),           std::string("Type"),
                  std::string("Identifiant"),  std::string("Nom"),
                  std::string("Emploi"),       std::string("Adresse"),
                  std::string("Etat civil"),   std::string("Enfants"),
                  std::string("Date fin"),     std::string("Date début"),
                  std::string("Jours"),        std::string("Revenu imposable"),
                  std::string("Avantages"),    std::string("Total"),
                  std::string("Réinvesti"),    std::string("Retenues"),
                  std::string("Retenues 20%"), std::string("CSS"),
                  std::string("Net")},
                 {std::string("1234567AM000"),
                  std::string("2018"),
                  1.0,
                  2.0,
                  std::string("01234567"),
                  std::string("Hédi Ben Salah"),
                  std::string("Comptable"),
                  std::string("12 rue de Marseille"),
                  std::string("1"),
                  2.0,
                  end,
                  start,
                  312.0,
                  12000.5,
                  500.0,
                  12500.5,
                  0.0,
                  1800.25,
                  0.0,
                  125.0,
                  10700.25},
                 {std::string("1234567AM000"),
                  std::string("2018"),
                  2.0,
                  2.0,
                  std::string("07654321"),
                  std::string("Amel Trabelsi"),
                  std::string("Ingénieur"),
                  std::string("5 avenue Habib Bourguiba"),
                  std::string("2"),
                  0.0,
                  end,
                  start,
                  300.0,
                  24000.0,
                  0.0,
                  24000.0,
                  0.0,
                  4800.0,
                  0.0,
                  240.0,
                  19200.0},
                 {std::string("1234567AM000"),
                  std::string("2018"),
                  3.0,
                  1.0,
                  std::string("1234567AM000"),
                  std::string("Karim Jaziri"),
                  std::string("Chauffeur"),
                  std::string("Cité El Khadra"),
                  std::string("1"),
                  3.0,
                  end,
                  Date{43282},
                  150.0,
                  6000.0,
                  0.0,
                  6000.0,
                  0.0,
                  300.0,
                  0.0,
                  60.0,
                  5700.0}}};
    Sheet thirdParties{
        "Tiers",
        {{std::string("Code"), std::string("Type"), std::string("Physique/Morale"),
          std::string("Identifiant"), std::string("Nom"), std::string("Activité"), std::string("Adresse")},
         {1.0, std::string("1"), std::string("2"), std::string("1234567AM000"),
          std::string("Société Générale de Négoce"), std::string("Commerce"), std::string("Sfax")}}};
    const Bytes file = compoundFile(workbookStream({annex, thirdParties}));
    FILE *f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
