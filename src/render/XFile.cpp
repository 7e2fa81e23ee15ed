#include "render/XFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <unordered_map>
#include <utility>

namespace {

// Frames of skinned models nest a few dozen deep; far deeper nesting is a
// broken or hostile file and would exhaust the stack.
constexpr int MaxDepth = 128;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
// Names may carry UTF-8 (or other 8-bit) letters that exporters copy from the
// modelling tool.
bool IsNameStart(char c) {
    return IsAlpha(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool IsNameChar(char c) {
    return IsNameStart(c) || IsDigit(c) || c == '-' || c == '.';
}
bool IsHexOrDash(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '-' || c == ' ';
}

std::string Printable(char c) {
    if (c >= 0x20 && c < 0x7F) return Format("'%c'", c);
    return Format("byte 0x%02X", static_cast<unsigned char>(c));
}

enum class TokenType { End, Error, Name, Integer, Float, String, Guid, OpenBrace, CloseBrace, Separator };

struct Token {
    TokenType type = TokenType::End;
    // Name and number: the characters; string: the raw text between the
    // quotes; GUID: the text between the angle brackets.
    std::string_view text;
    double number = 0.0;
    int line = 0;
};

class Parser {
public:
    Parser(std::string_view text, XError& error) : text(text), error(error) {}

    bool ParseFile(XFile& file) {
        if (!CheckHeader()) return false;
        pos = 16;
        for (;;) {
            Token token = Next();
            switch (token.type) {
            case TokenType::End:
                return true;
            case TokenType::Error:
                return false;
            case TokenType::Separator:
                break;
            case TokenType::Name:
                if (token.text == "template") {
                    if (!SkipTemplate(token.line)) return false;
                } else {
                    XObject object;
                    if (!ParseObject(token, object, 1)) return false;
                    file.objects.push_back(std::move(object));
                }
                break;
            default:
                return Fail(token.line, "expected a template or a data object");
            }
        }
    }

private:
    std::string_view text;
    size_t pos = 0;
    int line = 1;
    XError& error;

    bool Fail(int atLine, std::string message) {
        error.line = atLine;
        error.message = std::move(message);
        return false;
    }

    bool CheckHeader() {
        if (text.size() < 16 || text.substr(0, 4) != "xof ") return Fail(1, "not X data (no \"xof\" header)");
        std::string_view format = text.substr(8, 4);
        if (format == "bin ") return Fail(1, "binary X data is not supported");
        if (format == "tzip" || format == "bzip") return Fail(1, "compressed X data is not supported");
        if (format != "txt ") return Fail(1, "unknown X data format \"" + std::string(format) + "\"");
        std::string_view version = text.substr(4, 4);
        if (version != "0302" && version != "0303")
            return Fail(1, "unsupported X version " + std::string(version));
        std::string_view floatSize = text.substr(12, 4);
        if (floatSize != "0032" && floatSize != "0064")
            return Fail(1, "unsupported X float size " + std::string(floatSize));
        return true;
    }

    void SkipLine() {
        while (pos < text.size() && text[pos] != '\n') ++pos;
    }

    void SkipSpaceAndComments() {
        while (pos < text.size()) {
            char c = text[pos];
            if (c == '\n') {
                ++line;
                ++pos;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++pos;
            } else if (c == '#' || (c == '/' && pos + 1 < text.size() && text[pos + 1] == '/')) {
                SkipLine();
            } else {
                return;
            }
        }
    }

    Token ErrorToken(int atLine, std::string message) {
        Fail(atLine, std::move(message));
        Token token;
        token.type = TokenType::Error;
        token.line = atLine;
        return token;
    }

    Token Next() {
        SkipSpaceAndComments();
        Token token;
        token.line = line;
        if (pos >= text.size()) return token;
        char c = text[pos];
        switch (c) {
        case '{':
            token.type = TokenType::OpenBrace;
            ++pos;
            return token;
        case '}':
            token.type = TokenType::CloseBrace;
            ++pos;
            return token;
        case ',':
        case ';':
            token.type = TokenType::Separator;
            ++pos;
            return token;
        case '"':
            return StringToken();
        case '<':
            return GuidToken();
        default:
            break;
        }
        bool signedNumber = (c == '-' || c == '+') && pos + 1 < text.size() &&
                            (IsDigit(text[pos + 1]) || text[pos + 1] == '.');
        bool fraction = c == '.' && pos + 1 < text.size() && IsDigit(text[pos + 1]);
        if (IsDigit(c) || signedNumber || fraction) return NumberToken();
        if (IsNameStart(c)) {
            size_t start = pos;
            while (pos < text.size() && IsNameChar(text[pos])) ++pos;
            token.type = TokenType::Name;
            token.text = text.substr(start, pos - start);
            return token;
        }
        return ErrorToken(line, "unexpected " + Printable(c));
    }

    Token StringToken() {
        Token token;
        token.line = line;
        size_t start = pos + 1;
        size_t i = start;
        while (i < text.size() && text[i] != '"') {
            if (text[i] == '\\' && i + 1 < text.size()) ++i;
            if (text[i] == '\n') ++line;
            ++i;
        }
        if (i >= text.size()) return ErrorToken(token.line, "string is not closed");
        token.type = TokenType::String;
        token.text = text.substr(start, i - start);
        pos = i + 1;
        return token;
    }

    Token GuidToken() {
        Token token;
        token.line = line;
        size_t start = pos + 1;
        size_t i = start;
        while (i < text.size() && IsHexOrDash(text[i])) ++i;
        if (i >= text.size() || text[i] != '>') return ErrorToken(token.line, "GUID is not closed");
        token.type = TokenType::Guid;
        token.text = text.substr(start, i - start);
        pos = i + 1;
        return token;
    }

    Token NumberToken() {
        Token token;
        token.line = line;
        size_t start = pos;
        while (pos < text.size()) {
            char c = text[pos];
            if (!(IsDigit(c) || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-')) break;
            ++pos;
        }
        std::string_view digits = text.substr(start, pos - start);
        // "1.#QNAN0" and "-1.#IND00" are how some tools write NaN; the '#'
        // must not be taken as the start of a comment.
        if (pos < text.size() && (IsNameChar(text[pos]) || text[pos] == '#')) {
            size_t end = pos;
            while (end < text.size() && (IsNameChar(text[end]) || text[end] == '#')) ++end;
            return ErrorToken(token.line,
                              "bad number \"" + std::string(text.substr(start, end - start)) + "\"");
        }
        const char* first = digits.data();
        const char* last = first + digits.size();
        if (*first == '+') ++first;
        double value = 0.0;
        auto [end, code] = std::from_chars(first, last, value);
        if (end != last || code == std::errc::invalid_argument)
            return ErrorToken(token.line, "bad number \"" + std::string(digits) + "\"");
        if (code == std::errc::result_out_of_range) {
            // Underflow reads as zero; overflow is a broken file.
            bool negativeExponent =
                digits.find("e-") != std::string_view::npos || digits.find("E-") != std::string_view::npos;
            if (!negativeExponent)
                return ErrorToken(token.line, "number out of range \"" + std::string(digits) + "\"");
            value = 0.0;
        }
        if (!std::isfinite(value))
            return ErrorToken(token.line, "number out of range \"" + std::string(digits) + "\"");
        bool isFloat = digits.find_first_of(".eE") != std::string_view::npos;
        token.type = isFloat ? TokenType::Float : TokenType::Integer;
        token.text = digits;
        token.number = value;
        return token;
    }

    // Templates only describe layouts, which the game knows already: skip to
    // the matching brace.
    bool SkipTemplate(int startLine) {
        Token name = Next();
        if (name.type == TokenType::Error) return false;
        if (name.type != TokenType::Name) return Fail(name.line, "template without a name");
        Token open = Next();
        if (open.type == TokenType::Error) return false;
        if (open.type != TokenType::OpenBrace) return Fail(open.line, "expected { after template name");
        int depth = 1;
        while (pos < text.size()) {
            char c = text[pos];
            if (c == '#' || (c == '/' && pos + 1 < text.size() && text[pos + 1] == '/')) {
                SkipLine();
                continue;
            }
            if (c == '\n') ++line;
            if (c == '{') ++depth;
            if (c == '}' && --depth == 0) {
                ++pos;
                return true;
            }
            ++pos;
        }
        return Fail(startLine, "template " + std::string(name.text) + " is not closed");
    }

    bool ParseObject(const Token& typeToken, XObject& object, int depth) {
        if (depth > MaxDepth) return Fail(typeToken.line, "objects are nested too deeply");
        object.type = typeToken.text;
        object.line = typeToken.line;
        Token token = Next();
        if (token.type == TokenType::Name) {
            object.name = token.text;
            token = Next();
        }
        if (token.type == TokenType::Error) return false;
        if (token.type != TokenType::OpenBrace) return Fail(token.line, "expected { after " + object.type);
        return ParseBody(object, depth);
    }

    bool ParseBody(XObject& object, int depth) {
        bool first = true;
        for (;;) {
            Token token = Next();
            switch (token.type) {
            case TokenType::End:
                return Fail(object.line, object.type + " is not closed (missing })");
            case TokenType::Error:
                return false;
            case TokenType::CloseBrace:
                return true;
            case TokenType::Separator:
                break;
            case TokenType::Integer:
            case TokenType::Float:
                object.values.push_back(
                    {token.type == TokenType::Integer ? XValue::Kind::Integer : XValue::Kind::Float,
                     token.number});
                break;
            case TokenType::String:
                object.strings.push_back(Unescape(token.text));
                object.values.push_back({XValue::Kind::String, double(object.strings.size() - 1)});
                break;
            case TokenType::Guid:
                if (!first) return Fail(token.line, "GUID in the middle of " + object.type);
                object.guid = token.text;
                break;
            case TokenType::OpenBrace: {
                XObject reference;
                reference.isReference = true;
                reference.line = token.line;
                if (!ParseReference(reference)) return false;
                object.children.push_back(std::move(reference));
                break;
            }
            case TokenType::Name: {
                XObject child;
                if (!ParseObject(token, child, depth + 1)) return false;
                object.children.push_back(std::move(child));
                break;
            }
            }
            first = false;
        }
    }

    bool ParseReference(XObject& reference) {
        Token token = Next();
        if (token.type == TokenType::Name) {
            reference.name = token.text;
            token = Next();
        }
        if (token.type == TokenType::Guid) {
            reference.guid = token.text;
            token = Next();
        }
        if (token.type == TokenType::Error) return false;
        if (token.type != TokenType::CloseBrace) return Fail(token.line, "reference is not closed");
        if (reference.name.empty() && reference.guid.empty())
            return Fail(reference.line, "empty reference {}");
        return true;
    }

    static std::string Unescape(std::string_view raw) {
        std::string result;
        result.reserve(raw.size());
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == '\\' || raw[i + 1] == '"')) ++i;
            result.push_back(raw[i]);
        }
        return result;
    }
};

// Reads the values of one object in order, checking each against what the
// layout expects. Counts are checked against the values actually present
// before anything is allocated for them.
class ValueReader {
public:
    ValueReader(const XObject& object, XError& error) : object(object), error(error) {}

    size_t Remaining() const { return object.values.size() - pos; }

    bool Fail(const std::string& message) {
        error.line = object.line;
        error.message = object.type;
        if (!object.name.empty()) error.message += " " + object.name;
        error.message += ": " + message;
        return false;
    }

    bool Integer(uint32_t& result, const char* what) {
        if (pos >= object.values.size()) return Fail(Format("data ends before the %s", what));
        const XValue& value = object.values[pos++];
        double number = value.number;
        if (value.kind == XValue::Kind::String || number < 0.0 || number > double(UINT32_MAX) ||
            number != std::floor(number))
            return Fail(Format("%s is not a valid count or index", what));
        result = uint32_t(number);
        return true;
    }

    // A count of items of at least valuesEach values each, which must fit in
    // what is left of the object.
    bool Count(uint32_t& count, size_t valuesEach, const char* what) {
        if (!Integer(count, what)) return false;
        if (uint64_t(count) * valuesEach > Remaining())
            return Fail(Format("%s %u exceeds the data (%zu values left)", what, count, Remaining()));
        return true;
    }

    bool Index(uint32_t& index, uint32_t limit, const char* what) {
        if (!Integer(index, what)) return false;
        if (index >= limit) return Fail(Format("%s %u out of range (%u)", what, index, limit));
        return true;
    }

    bool Number(float& result, const char* what) {
        if (pos >= object.values.size()) return Fail(Format("data ends before the %s", what));
        const XValue& value = object.values[pos++];
        if (value.kind == XValue::Kind::String) return Fail(Format("%s is a string", what));
        if (!(std::fabs(value.number) <= double(XMaxMagnitude)))
            return Fail(Format("%s %g is too large", what, value.number));
        result = float(value.number);
        return true;
    }

    bool Numbers(float* result, size_t count, const char* what) {
        for (size_t i = 0; i < count; ++i)
            if (!Number(result[i], what)) return false;
        return true;
    }

    bool String(std::string& result, const char* what) {
        if (pos >= object.values.size()) return Fail(Format("data ends before the %s", what));
        const XValue& value = object.values[pos++];
        if (value.kind != XValue::Kind::String) return Fail(Format("%s is not a string", what));
        result = object.StringOf(value);
        return true;
    }

    bool Finish() {
        if (Remaining() != 0) return Fail(Format("%zu values too many", Remaining()));
        return true;
    }

private:
    const XObject& object;
    XError& error;
    size_t pos = 0;
};

// Reads the polygon list shared by Mesh and MeshNormals: count, then per face
// its corner count and corners; each face becomes a fan of triangles. With
// faceSizes given (normals), every face must have the corner count of the
// mesh face it belongs to.
bool ReadFaces(ValueReader& reader, uint32_t indexLimit, std::vector<uint32_t>& faceSizes, bool matchSizes,
               std::vector<uint32_t>& triangles) {
    uint32_t faceCount = 0;
    if (!reader.Count(faceCount, 4, matchSizes ? "face normal count" : "face count")) return false;
    if (matchSizes && faceCount != faceSizes.size())
        return reader.Fail(Format("%u face normals for %zu faces", faceCount, faceSizes.size()));
    if (!matchSizes) faceSizes.reserve(faceCount);
    triangles.reserve(size_t(faceCount) * 3);
    std::vector<uint32_t> corners;
    for (uint32_t f = 0; f < faceCount; ++f) {
        uint32_t cornerCount = 0;
        if (!reader.Count(cornerCount, 1, "face corner count")) return false;
        if (cornerCount < 3) return reader.Fail(Format("face %u has only %u corners", f, cornerCount));
        if (matchSizes && cornerCount != faceSizes[f])
            return reader.Fail(Format("face %u has %u normals for %u corners", f, cornerCount, faceSizes[f]));
        corners.resize(cornerCount);
        for (uint32_t& corner : corners)
            if (!reader.Index(corner, indexLimit, matchSizes ? "normal index" : "vertex index")) return false;
        for (uint32_t i = 1; i + 1 < cornerCount; ++i) {
            triangles.push_back(corners[0]);
            triangles.push_back(corners[i]);
            triangles.push_back(corners[i + 1]);
        }
        if (!matchSizes) faceSizes.push_back(cornerCount);
    }
    return true;
}

bool ReadNormals(const XObject& object, XMesh& mesh, XError& error) {
    ValueReader reader(object, error);
    uint32_t count = 0;
    if (!reader.Count(count, 3, "normal count")) return false;
    mesh.normals.resize(count);
    for (Vector3& n : mesh.normals)
        if (!reader.Number(n.x, "normal") || !reader.Number(n.y, "normal") || !reader.Number(n.z, "normal"))
            return false;
    return ReadFaces(reader, count, mesh.faceSizes, true, mesh.normalTriangles) && reader.Finish();
}

bool ReadTexCoords(const XObject& object, XMesh& mesh, XError& error) {
    ValueReader reader(object, error);
    uint32_t count = 0;
    if (!reader.Count(count, 2, "texture coordinate count")) return false;
    if (count != mesh.positions.size())
        return reader.Fail(Format("%u texture coordinates for %zu vertices", count, mesh.positions.size()));
    mesh.texCoords.resize(count);
    for (XTexCoord& t : mesh.texCoords)
        if (!reader.Number(t.u, "texture coordinate") || !reader.Number(t.v, "texture coordinate"))
            return false;
    return reader.Finish();
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool ReadMaterial(const XObject& object, XMaterial& material, XError& error) {
    ValueReader reader(object, error);
    if (!reader.Numbers(material.faceColor, 4, "face colour") || !reader.Number(material.power, "power") ||
        !reader.Numbers(material.specularColor, 3, "specular colour") ||
        !reader.Numbers(material.emissiveColor, 3, "emissive colour") || !reader.Finish())
        return false;
    for (const XObject& child : object.children) {
        if (child.isReference || !EqualsIgnoringCase(child.type, "TextureFilename")) continue;
        ValueReader nameReader(child, error);
        return nameReader.String(material.textureFilename, "file name") && nameReader.Finish();
    }
    return true;
}

// Name and GUID lookup over the whole file, built on first use, so that a
// file full of references costs one walk and not one per reference. The
// first object in depth-first order wins, as in ResolveReference.
class ReferenceIndex {
public:
    explicit ReferenceIndex(const XFile& file) : file(file) {}

    const XObject* Find(const XObject& reference) {
        if (!built) {
            Add(file.objects);
            built = true;
        }
        const auto& map = reference.name.empty() ? byGuid : byName;
        auto found = map.find(reference.name.empty() ? reference.guid : reference.name);
        return found == map.end() ? nullptr : found->second;
    }

private:
    void Add(const std::vector<XObject>& objects) {
        for (const XObject& object : objects) {
            if (!object.isReference) {
                if (!object.name.empty()) byName.try_emplace(object.name, &object);
                if (!object.guid.empty()) byGuid.try_emplace(object.guid, &object);
            }
            Add(object.children);
        }
    }

    const XFile& file;
    bool built = false;
    std::unordered_map<std::string, const XObject*> byName;
    std::unordered_map<std::string, const XObject*> byGuid;
};

bool ReadMaterialList(ReferenceIndex& references, const XObject& object, XMesh& mesh, XError& error) {
    ValueReader reader(object, error);
    uint32_t materialCount = 0, indexCount = 0;
    if (!reader.Integer(materialCount, "material count") || !reader.Count(indexCount, 1, "face index count"))
        return false;
    size_t faceCount = mesh.faceSizes.size();
    // Exporters may write fewer indices than faces (often just one); the
    // last one then holds for the remaining faces.
    if (indexCount > faceCount || (indexCount == 0 && faceCount > 0))
        return reader.Fail(Format("%u material indices for %zu faces", indexCount, faceCount));
    std::vector<uint32_t> faceMaterials(indexCount);
    for (uint32_t& m : faceMaterials)
        if (!reader.Index(m, materialCount, "material index")) return false;
    if (!reader.Finish()) return false;

    for (const XObject& child : object.children) {
        const XObject* source = &child;
        if (child.isReference) {
            source = references.Find(child);
            if (!source || source->type != "Material")
                return reader.Fail("material {" + (child.name.empty() ? child.guid : child.name) +
                                   "} not found");
        } else if (child.type != "Material") {
            continue;
        }
        if (mesh.materials.size() == materialCount)
            return reader.Fail(Format("more materials than the %u listed", materialCount));
        XMaterial material;
        if (!ReadMaterial(*source, material, error)) return false;
        mesh.materials.push_back(std::move(material));
    }
    if (mesh.materials.size() != materialCount)
        return reader.Fail(Format("%u materials listed, %zu given", materialCount, mesh.materials.size()));

    mesh.triangleMaterials.reserve(mesh.triangles.size() / 3);
    for (size_t f = 0; f < faceCount; ++f) {
        uint32_t m = faceMaterials[std::min(f, faceMaterials.size() - 1)];
        mesh.triangleMaterials.insert(mesh.triangleMaterials.end(), mesh.faceSizes[f] - 2, m);
    }
    return true;
}

// Skin weights are not used, but a mesh whose weights name vertices it
// doesn't have is corrupt.
bool CheckSkinWeights(const XObject& object, const XMesh& mesh, XError& error) {
    ValueReader reader(object, error);
    std::string boneName;
    uint32_t count = 0;
    if (!reader.String(boneName, "bone name") || !reader.Count(count, 2, "weight count")) return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t index = 0;
        if (!reader.Index(index, uint32_t(mesh.positions.size()), "skin weight vertex")) return false;
    }
    return true;
}

const XObject* FindByReference(const std::vector<XObject>& objects, const XObject& reference) {
    for (const XObject& object : objects) {
        if (!object.isReference) {
            bool match = reference.name.empty() ? (!object.guid.empty() && object.guid == reference.guid)
                                                : object.name == reference.name;
            if (match) return &object;
        }
        if (const XObject* found = FindByReference(object.children, reference)) return found;
    }
    return nullptr;
}

} // namespace

bool ParseXFile(std::string_view text, XFile& file, XError& error) {
    file.objects.clear();
    error = XError();
    Parser parser(text, error);
    if (parser.ParseFile(file)) return true;
    file.objects.clear();
    return false;
}

const XObject* FindTopLevelMesh(const XFile& file) {
    for (const XObject& object : file.objects)
        if (object.type == "Mesh") return &object;
    return nullptr;
}

const XObject* ResolveReference(const XFile& file, const XObject& reference) {
    return FindByReference(file.objects, reference);
}

namespace {

bool ReadMesh(const XFile& file, const XObject& meshObject, XMesh& mesh, XError& error) {
    mesh.name = meshObject.name;
    ValueReader reader(meshObject, error);
    uint32_t vertexCount = 0;
    if (!reader.Count(vertexCount, 3, "vertex count")) return false;
    mesh.positions.resize(vertexCount);
    for (Vector3& p : mesh.positions)
        if (!reader.Number(p.x, "coordinate") || !reader.Number(p.y, "coordinate") ||
            !reader.Number(p.z, "coordinate"))
            return false;
    if (!ReadFaces(reader, vertexCount, mesh.faceSizes, false, mesh.triangles) || !reader.Finish())
        return false;

    ReferenceIndex references(file);
    bool haveNormals = false, haveTexCoords = false, haveMaterials = false;
    for (const XObject& child : meshObject.children) {
        if (child.isReference) continue;
        bool ok = true;
        if (child.type == "MeshNormals" && !haveNormals) {
            ok = ReadNormals(child, mesh, error);
            haveNormals = true;
        } else if (child.type == "MeshTextureCoords" && !haveTexCoords) {
            ok = ReadTexCoords(child, mesh, error);
            haveTexCoords = true;
        } else if (child.type == "MeshMaterialList" && !haveMaterials) {
            ok = ReadMaterialList(references, child, mesh, error);
            haveMaterials = true;
        } else if (child.type == "SkinWeights") {
            ok = CheckSkinWeights(child, mesh, error);
        }
        if (!ok) return false;
    }
    return true;
}

} // namespace

bool ExtractMesh(const XFile& file, const XObject& meshObject, XMesh& mesh, XError& error) {
    mesh = XMesh();
    error = XError();
    if (ReadMesh(file, meshObject, mesh, error)) return true;
    mesh = XMesh();
    return false;
}
