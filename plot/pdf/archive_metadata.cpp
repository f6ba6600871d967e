#include "plot/pdf/archive_metadata.h"

#include <string_view>

#include "plot/canvas/svg_canvas.h"
#include "plot/pdf/pdf_syntax.h"

namespace ambersel::plot::pdf {
namespace {

std::string idBytes(const DocumentInfo& info) {
    return {reinterpret_cast<const char*>(info.id.data()), info.id.size()};
}

// A language alternative with only the default: how XMP holds a title or a description.
std::string alternative(std::string_view property, std::string_view utf8) {
    return "   <" + std::string(property) + "><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
           xmlText(utf8) + "</rdf:li></rdf:Alt></" + std::string(property) + ">\n";
}

std::string simple(std::string_view property, std::string_view utf8) {
    return "   <" + std::string(property) + ">" + xmlText(utf8) + "</" + std::string(property) +
           ">\n";
}

}  // namespace

std::string documentUuid(const DocumentInfo& info) {
    std::string hex;
    appendHex(hex, idBytes(info));
    for (char& digit : hex) {
        digit = digit >= 'A' && digit <= 'F' ? static_cast<char>(digit - 'A' + 'a') : digit;
    }
    return "uuid:" + hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" +
           hex.substr(16, 4) + "-" + hex.substr(20);
}

std::string xmpMetadata(const DocumentInfo& info) {
    std::string out =
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
        " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "  <rdf:Description rdf:about=\"\"\n"
        "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
        "    xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"\n"
        "    xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\"\n"
        "    xmlns:xmpMM=\"http://ns.adobe.com/xap/1.0/mm/\"\n"
        "    xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
        "   <dc:format>application/pdf</dc:format>\n";
    out += alternative("dc:title", info.title);
    if (!info.author.empty()) {
        out += "   <dc:creator><rdf:Seq><rdf:li>" + xmlText(info.author) +
               "</rdf:li></rdf:Seq></dc:creator>\n";
    }
    if (!info.subject.empty()) {
        out += alternative("dc:description", info.subject);
    }
    out += simple("xmp:CreatorTool", info.creatorTool);
    out += simple("xmp:CreateDate", xmpDate(info.created));
    out += simple("xmp:ModifyDate", xmpDate(info.modified));
    out += simple("xmp:MetadataDate", xmpDate(info.modified));
    out += simple("pdf:Producer", info.producer);
    out += simple("xmpMM:DocumentID", documentUuid(info));
    out += simple("xmpMM:InstanceID", documentUuid(info));
    out += simple("pdfaid:part", "3");
    out += simple("pdfaid:conformance", "B");
    out +=
        "  </rdf:Description>\n"
        " </rdf:RDF>\n"
        "</x:xmpmeta>\n"
        "<?xpacket end=\"r\"?>";
    return out;
}

std::string infoDictionary(const DocumentInfo& info) {
    std::string out = "<< /Title " + textString(info.title);
    if (!info.author.empty()) {
        out += " /Author " + textString(info.author);
    }
    if (!info.subject.empty()) {
        out += " /Subject " + textString(info.subject);
    }
    out += " /Creator " + textString(info.creatorTool);
    out += " /Producer " + textString(info.producer);
    out += " /CreationDate " + literalString(pdfDate(info.created));
    out += " /ModDate " + literalString(pdfDate(info.modified));
    out += " >>";
    return out;
}

std::string documentIdArray(const DocumentInfo& info) {
    const std::string id = hexString(idBytes(info));
    return "[" + id + " " + id + "]";
}

}  // namespace ambersel::plot::pdf
