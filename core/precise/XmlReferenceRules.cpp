#include "precise/XmlReferenceRules.h"

namespace quillet {

objc::SourceFacts scanXmlReferences(std::string_view xml, XmlReferenceRules& rules) {
    XmlReader reader(xml);
    ReferenceCollector references;
    while (true) {
        switch (reader.next()) {
        case XmlReader::Event::startTag:
            for (const auto& attribute : reader.attributes()) {
                references.xml(attribute.value, attribute.valueOffset,
                               rules.attributeRole(reader, attribute.name));
            }
            rules.enter(reader);
            break;
        case XmlReader::Event::endTag:
            if (reader.leaf()) {
                references.xml(reader.content(), reader.contentOffset(), rules.contentRole(reader));
            }
            rules.leave();
            break;
        case XmlReader::Event::end:
            return references.take();
        case XmlReader::Event::malformed:
            references.problem(reader.problem());
            return references.take();
        }
    }
}

} // namespace quillet
