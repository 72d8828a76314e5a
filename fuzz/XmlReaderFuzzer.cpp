// The XML reader on arbitrary bytes: every reply of the service goes through
// it. Round trip: the tree read is written back as XML, read again and must
// come out the same; then the typed reader walks the document.
// Fuzz links: hc_kernel
#include <string>

#include "FuzzSupport.h"
#include "kernel/xml/HCXmlDocument.h"
#include "kernel/xml/HCXmlReader.h"
#include "kernel/xml/HCXmlTreeParser.h"
#include "platform/foundation/XmlText.h"

namespace {

void write(const HCXmlElement& element, std::string& out)
{
    out += "<" + element.name() + ">";
    if (element.value()) out += platform::escapeXmlText(*element.value());
    for (size_t i = 0; i < element.numChildren(); ++i) write(*element.getChild(i), out);
    out += "</" + element.name() + ">";
}

bool sameTree(const HCXmlElement& a, const HCXmlElement& b)
{
    if (a.name() != b.name() || a.value() != b.value() || a.numChildren() != b.numChildren()) return false;
    for (size_t i = 0; i < a.numChildren(); ++i) {
        if (!sameTree(*a.getChild(i), *b.getChild(i))) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto top = parseXmlTree(data, size);
    fuzz::check(top && top->numChildren() <= 1, "the top element holds at most the document element");
    if (top->numChildren() == 1) {
        std::string text;
        write(*top->getChild(0), text);
        const auto again = parseXmlTree(text.data(), text.size());
        fuzz::check(again->numChildren() == 1 && sameTree(*top->getChild(0), *again->getChild(0)),
                    "XML read, written and read again differs");
    }

    const auto document = HCXmlDocument::xmlDocumentWithData(data, size);
    HCXmlReader reader(document);
    const auto root = document->getTopElement()->getChild(0);
    if (!root) return 0;
    HCXmlReader::Scope scope(reader, root->name().c_str());
    for (size_t i = 0; i < root->numChildren() && i < 16; ++i) {
        const std::string name = root->getChild(i)->name();
        long long integer = 0;
        double real = 0;
        bool flag = false;
        unsigned count = 0;
        std::optional<std::string> text;
        reader.io(name.c_str(), integer);
        reader.io(name.c_str(), real);
        reader.io(name.c_str(), flag);
        reader.io(name.c_str(), count);
        reader.io(name.c_str(), text);
    }
    (void)document->getElementValueAtPath((root->name() + ".a.b").c_str());
    return 0;
}
