#include "generation/KitLabel.h"

namespace veldra::test {

QString kitLabel()
{
    return QString::fromUtf8(R"(<?xml version="1.0" encoding="UTF-8"?>
<document xmlns="urn:hl7-org:v3" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:schemaLocation="urn:hl7-org:v3 http://www.accessdata.fda.gov/spl/schema/spl.xsd">
  <id root="6f0c1a52-3b8e-4d7a-9c41-2e5b7d9a1c03"/>
  <code code="34391-3" codeSystem="2.16.840.1.113883.6.1" displayName="HUMAN PRESCRIPTION DRUG LABEL"/>
  <title>INJECTION KIT<br/>lidocaine hydrochloride injection and <content styleCode="italics">povidone-iodine</content> swab</title>
  <effectiveTime value="20240115"/>
  <setId root="0b7e2d14-9a53-4c8f-b6a1-5d3e8f20c7a9"/>
  <versionNumber value="2"/>
  <author>
    <time/>
    <assignedEntity>
      <representedOrganization>
        <id extension="123456789" root="1.3.6.1.4.1.519.1"/>
        <name>Example Kits Inc.</name>
        <contactParty>
          <addr>
            <streetAddressLine>1 Harbour Road</streetAddressLine>
            <city>Portland</city>
            <state>ME</state>
            <postalCode>04101</postalCode>
            <country>USA</country>
          </addr>
          <telecom value="tel:+1-207-555-0100;ext=12"/>
          <telecom value="mailto:labels@example.com"/>
          <contactPerson>
            <name>Jane Roe</name>
          </contactPerson>
        </contactParty>
        <assignedEntity>
          <assignedOrganization>
            <id extension="123456789" root="1.3.6.1.4.1.519.1"/>
            <name>Example Kits Inc.</name>
            <contactParty>
              <addr>
                <streetAddressLine>1 Harbour Road</streetAddressLine>
                <city>Portland</city>
                <state>ME</state>
                <postalCode>04101</postalCode>
                <country>USA</country>
              </addr>
              <telecom value="tel:+1-207-555-0199"/>
              <telecom value="mailto:registration@example.com"/>
              <contactPerson>
                <name>John Roe</name>
              </contactPerson>
            </contactParty>
            <assignedEntity>
              <assignedOrganization>
                <id extension="987654321" root="1.3.6.1.4.1.519.1"/>
                <name>Example Kits Assembly</name>
              </assignedOrganization>
              <performance>
                <actDefinition>
                  <code code="C84731" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="PACK"/>
                  <product>
                    <manufacturedProduct classCode="MANU">
                      <manufacturedMaterialKind>
                        <code code="12345-678" codeSystem="2.16.840.1.113883.6.69"/>
                      </manufacturedMaterialKind>
                    </manufacturedProduct>
                  </product>
                </actDefinition>
              </performance>
              <performance>
                <actDefinition>
                  <code code="C84732" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="LABEL"/>
                </actDefinition>
              </performance>
            </assignedEntity>
          </assignedOrganization>
        </assignedEntity>
      </representedOrganization>
    </assignedEntity>
  </author>
  <component>
    <structuredBody>
      <component>
        <section>
          <id root="2c9d4e61-7f0a-4b3e-8d25-a61c3f9b0e47"/>
          <code code="48780-1" codeSystem="2.16.840.1.113883.6.1" displayName="SPL PRODUCT DATA ELEMENTS SECTION"/>
          <effectiveTime value="20240115"/>
          <subject>
            <manufacturedProduct>
              <manufacturedProduct>
                <code code="12345-678" codeSystem="2.16.840.1.113883.6.69"/>
                <name>Injection Kit</name>
                <formCode code="C47916" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="KIT"/>
                <asContent>
                  <quantity>
                    <numerator value="1" unit="1"/>
                    <denominator value="1"/>
                  </quantity>
                  <containerPackagedProduct>
                    <code code="12345-678-01" codeSystem="2.16.840.1.113883.6.69"/>
                    <formCode code="C43182" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="CARTON"/>
                    <asContent>
                      <quantity>
                        <numerator value="10" unit="1"/>
                        <denominator value="1"/>
                      </quantity>
                      <containerPackagedProduct>
                        <code code="12345-678-10" codeSystem="2.16.840.1.113883.6.69"/>
                        <formCode code="C43184" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="CASE"/>
                      </containerPackagedProduct>
                      <subjectOf>
                        <characteristic>
                          <code code="SPLCMBPRDTP" codeSystem="2.16.840.1.113883.1.11.19255"/>
                          <value xsi:type="CV" code="C112160" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="Type 0: Not a Combination Product"/>
                        </characteristic>
                      </subjectOf>
                      <subjectOf>
                        <marketingAct>
                          <code code="C53292" codeSystem="2.16.840.1.113883.3.26.1.1"/>
                          <statusCode code="active"/>
                          <effectiveTime>
                            <low value="20240301"/>
                          </effectiveTime>
                        </marketingAct>
                      </subjectOf>
                    </asContent>
                  </containerPackagedProduct>
                  <subjectOf>
                    <characteristic>
                      <code code="SPLCMBPRDTP" codeSystem="2.16.840.1.113883.1.11.19255"/>
                      <value xsi:type="CV" code="C102834" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="Type 1: Convenience Kit or Co-Package"/>
                    </characteristic>
                  </subjectOf>
                  <subjectOf>
                    <marketingAct>
                      <code code="C53292" codeSystem="2.16.840.1.113883.3.26.1.1"/>
                      <statusCode code="completed"/>
                      <effectiveTime>
                        <low value="20240201"/>
                        <high value="20251231"/>
                      </effectiveTime>
                    </marketingAct>
                  </subjectOf>
                </asContent>
                <part>
                  <quantity>
                    <numerator value="2" unit="mL"/>
                    <denominator value="1"/>
                  </quantity>
                  <partProduct>
                    <code code="12345-111" codeSystem="2.16.840.1.113883.6.69"/>
                    <name>Lidocaine Hydrochloride</name>
                    <formCode code="C42945" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="INJECTION, SOLUTION"/>
                    <asEntityWithGeneric>
                      <genericMedicine>
                        <name>lidocaine hydrochloride</name>
                      </genericMedicine>
                    </asEntityWithGeneric>
                    <ingredient classCode="ACTIB">
                      <quantity>
                        <numerator value="10" unit="mg"/>
                        <denominator value="1" unit="mL"/>
                      </quantity>
                      <ingredientSubstance>
                        <code code="V13007Z41A" codeSystem="2.16.840.1.113883.4.9"/>
                        <name>LIDOCAINE HYDROCHLORIDE</name>
                        <activeMoiety>
                          <activeMoiety>
                            <code code="98PI200987" codeSystem="2.16.840.1.113883.4.9"/>
                            <name>LIDOCAINE</name>
                          </activeMoiety>
                        </activeMoiety>
                      </ingredientSubstance>
                    </ingredient>
                    <ingredient classCode="IACT">
                      <ingredientSubstance>
                        <code code="451W47IQ8X" codeSystem="2.16.840.1.113883.4.9"/>
                        <name>SODIUM CHLORIDE</name>
                      </ingredientSubstance>
                    </ingredient>
                    <asContent>
                      <quantity>
                        <numerator value="2" unit="mL"/>
                        <denominator value="1" unit="1"/>
                      </quantity>
                      <containerPackagedProduct>
                        <formCode code="C43202" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="SYRINGE"/>
                        <asContent>
                          <quantity>
                            <numerator value="1" unit="1"/>
                            <denominator value="1" unit="1"/>
                          </quantity>
                          <containerPackagedProduct>
                            <code code="12345-111-01" codeSystem="2.16.840.1.113883.6.69"/>
                            <formCode code="C43182" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="CARTON"/>
                          </containerPackagedProduct>
                        </asContent>
                      </containerPackagedProduct>
                    </asContent>
                  </partProduct>
                  <subjectOf>
                    <approval>
                      <id extension="ANDA088299" root="2.16.840.1.113883.3.150"/>
                      <code code="C73584" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="ANDA"/>
                      <author>
                        <territorialAuthority>
                          <territory>
                            <code code="USA" codeSystem="2.16.840.1.113883.5.28"/>
                          </territory>
                        </territorialAuthority>
                      </author>
                    </approval>
                  </subjectOf>
                  <subjectOf>
                    <marketingAct>
                      <code code="C53292" codeSystem="2.16.840.1.113883.3.26.1.1"/>
                      <statusCode code="active"/>
                      <effectiveTime>
                        <low value="19900101"/>
                      </effectiveTime>
                    </marketingAct>
                  </subjectOf>
                  <consumedIn>
                    <substanceAdministration>
                      <routeCode code="C38299" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="SUBCUTANEOUS"/>
                    </substanceAdministration>
                  </consumedIn>
                  <consumedIn>
                    <substanceAdministration>
                      <routeCode code="C38238" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="INTRADERMAL"/>
                    </substanceAdministration>
                  </consumedIn>
                </part>
                <part>
                  <quantity>
                    <numerator value="2" unit="1"/>
                    <denominator value="1"/>
                  </quantity>
                  <partProduct>
                    <name>Povidone-Iodine Swab</name>
                    <formCode code="C47898" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="SWAB"/>
                    <asEntityWithGeneric>
                      <genericMedicine>
                        <name>povidone-iodine</name>
                      </genericMedicine>
                    </asEntityWithGeneric>
                    <ingredient classCode="ACTIB">
                      <quantity>
                        <numerator value="10" unit="g"/>
                        <denominator value="100" unit="mL"/>
                      </quantity>
                      <ingredientSubstance>
                        <code code="85H0HZU99M" codeSystem="2.16.840.1.113883.4.9"/>
                        <name>POVIDONE-IODINE</name>
                        <activeMoiety>
                          <activeMoiety>
                            <code code="9679TC07X4" codeSystem="2.16.840.1.113883.4.9"/>
                            <name>IODINE</name>
                          </activeMoiety>
                        </activeMoiety>
                      </ingredientSubstance>
                    </ingredient>
                    <asContent>
                      <quantity>
                        <numerator value="1" unit="1">
                          <translation code="C48548" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="SWAB"/>
                        </numerator>
                        <denominator value="1"/>
                      </quantity>
                      <containerPackagedProduct>
                        <formCode code="C43231" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="POUCH"/>
                        <asContent>
                          <quantity>
                            <numerator value="2" unit="1"/>
                            <denominator value="1"/>
                          </quantity>
                          <containerPackagedProduct>
                            <formCode code="C43233" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="PACKAGE"/>
                            <asContent>
                              <quantity>
                                <numerator value="1" unit="1"/>
                                <denominator value="1"/>
                              </quantity>
                              <containerPackagedProduct>
                                <code code="12345-222-01" codeSystem="2.16.840.1.113883.6.69"/>
                                <formCode code="C53438" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="TRAY"/>
                              </containerPackagedProduct>
                            </asContent>
                          </containerPackagedProduct>
                        </asContent>
                      </containerPackagedProduct>
                    </asContent>
                  </partProduct>
                  <subjectOf>
                    <approval>
                      <id extension="M003" root="2.16.840.1.113883.3.9421"/>
                      <code code="C200263" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="OTC MONOGRAPH DRUG"/>
                      <author>
                        <territorialAuthority>
                          <territory>
                            <code code="USA" codeSystem="2.16.840.1.113883.5.28"/>
                          </territory>
                        </territorialAuthority>
                      </author>
                    </approval>
                  </subjectOf>
                  <subjectOf>
                    <marketingAct>
                      <code code="C53292" codeSystem="2.16.840.1.113883.3.26.1.1"/>
                      <statusCode code="active"/>
                      <effectiveTime>
                        <low value="20050601"/>
                      </effectiveTime>
                    </marketingAct>
                  </subjectOf>
                  <consumedIn>
                    <substanceAdministration>
                      <routeCode code="C38304" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="TOPICAL"/>
                    </substanceAdministration>
                  </consumedIn>
                </part>
              </manufacturedProduct>
              <subjectOf>
                <approval>
                  <id extension="ANDA088300" root="2.16.840.1.113883.3.150"/>
                  <code code="C73584" codeSystem="2.16.840.1.113883.3.26.1.1" displayName="ANDA"/>
                  <author>
                    <territorialAuthority>
                      <territory>
                        <code code="USA" codeSystem="2.16.840.1.113883.5.28"/>
                      </territory>
                    </territorialAuthority>
                  </author>
                </approval>
              </subjectOf>
              <subjectOf>
                <marketingAct>
                  <code code="C53292" codeSystem="2.16.840.1.113883.3.26.1.1"/>
                  <statusCode code="active"/>
                  <effectiveTime>
                    <low value="20240201"/>
                  </effectiveTime>
                </marketingAct>
              </subjectOf>
            </manufacturedProduct>
          </subject>
        </section>
      </component>
      <component>
        <section ID="s-indications">
          <id root="7a1e3c58-2d4b-4f96-a0c7-9e8b5d2f6a14"/>
          <code code="34067-9" codeSystem="2.16.840.1.113883.6.1" displayName="INDICATIONS &amp; USAGE SECTION"/>
          <title>1 INDICATIONS <content styleCode="bold">AND</content> USAGE</title>
          <text>
            <paragraph>For local anaesthesia by infiltration after the skin is cleaned with the swab.</paragraph>
          </text>
          <effectiveTime value="20240115"/>
        </section>
      </component>
    </structuredBody>
  </component>
</document>
)");
}

} // namespace veldra::test
