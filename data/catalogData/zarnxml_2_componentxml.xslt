<?xml version="1.0" encoding="UTF-8"?>
<!--
  Device XML (ZARN_DEVICE, written by the device-description compiler and the converter
  plug-ins) to component XML (COMP_COMPONENTXML, read by the catalog manager).

  Output, in this order:
    version
    COMPONENT_FOLDER objects marked catalogLevel="true" for the catalog levels the
      described objects hang under: the section DEVICE (section only; device
      descriptions describe devices), one per protocol (PROTOCOL only), one per protocol
      and classification (PROTOCOL, CLASSIFICATION) and one per protocol, classification
      and manufacturer (PROTOCOL, CLASSIFICATION, MANUFACTURER_EXT); their ids start
      with the level name and a "." (never an identifier of a source). A section that exists
      already is left as it is. The mark keeps
      the identification of the source, which describes the device, off the levels.
      Levels carry no LABEL (their id is their name), except a manufacturer that the
      device XML names by a name rather than a number.
    the source's COMPONENT_FOLDERs, COMPONENTs and COMPONENT_REFERENCEs, each with
      PROTOCOL/CLASSIFICATION/COMPONENT_PATH (name), COMPONENT_PARENT (refid),
      MANUFACTURER_EXT (name = the source's manufacturer; placement only, so that the
      MANUFACTURER the identification adds is the one kept), LABEL/HELP (string per language),
      ZARN (the source file), relations, initial values and purpose mapping
    a device COMPONENT when the source defines none.

  Values given under a condition carry no value in device XML: such placement elements
  are left out, other attributes get an isConditioned child.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="xml" encoding="UTF-8" indent="no"/>
  <xsl:strip-space elements="*"/>

  <xsl:key name="relation" match="/ZARN_DEVICE/COMPONENT_RELATION" use="@id"/>
  <xsl:key name="folder" match="/ZARN_DEVICE/COMPONENT_FOLDER" use="@id"/>
  <!-- The effective (last unconditioned) placement attributes of folders and components. -->
  <xsl:key name="protocol"
           match="COMPONENT/PROTOCOL[@name][not(following-sibling::PROTOCOL[@name])] |
                  COMPONENT_FOLDER/PROTOCOL[@name][not(following-sibling::PROTOCOL[@name])]"
           use="@name"/>
  <xsl:key name="classification"
           match="COMPONENT/CLASSIFICATION[@name][not(following-sibling::CLASSIFICATION[@name])] |
                  COMPONENT_FOLDER/CLASSIFICATION[@name][not(following-sibling::CLASSIFICATION[@name])]"
           use="concat((../PROTOCOL[@name])[last()]/@name, '|', @name)"/>

  <!-- The manufacturer: a number (a device description's identification) in its
       hexadecimal form, which the catalog's manufacturer table turns into a name; a
       name (a vendor name of a GSD or IODD file) as it stands, beside any vendor number
       of its own numbering. A name also labels the manufacturer level. -->
  <xsl:variable name="manufacturerElement" select="/ZARN_DEVICE/IDENTIFICATION/MANUFACTURER"/>
  <xsl:variable name="manufacturerIsNumber"
                select="string-length($manufacturerElement/@name) > 0 and
                        translate(substring($manufacturerElement/@name, 1, 1), '0123456789', '') = ''"/>
  <xsl:variable name="manufacturer">
    <xsl:choose>
      <xsl:when test="$manufacturerIsNumber and $manufacturerElement/@hex">
        <xsl:value-of select="$manufacturerElement/@hex"/>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$manufacturerElement/@name"/></xsl:otherwise>
    </xsl:choose>
  </xsl:variable>
  <xsl:variable name="manufacturerLabel">
    <xsl:if test="not($manufacturerIsNumber)"><xsl:value-of select="$manufacturerElement/@name"/></xsl:if>
  </xsl:variable>
  <xsl:variable name="sourceName" select="/ZARN_DEVICE/SOURCE/@name"/>

  <xsl:template match="/">
    <xsl:apply-templates select="ZARN_DEVICE"/>
  </xsl:template>

  <xsl:template match="ZARN_DEVICE">
    <COMP_COMPONENTXML inPath="">
      <version>1</version>
      <xsl:call-template name="levels"/>
      <xsl:apply-templates select="COMPONENT_FOLDER"/>
      <xsl:apply-templates select="COMPONENT"/>
      <xsl:apply-templates select="COMPONENT_REFERENCE"/>
      <xsl:if test="not(COMPONENT)">
        <xsl:call-template name="device-component"/>
      </xsl:if>
    </COMP_COMPONENTXML>
  </xsl:template>

  <!-- ===== Catalog levels ===== -->

  <xsl:template name="levels">
    <xsl:variable name="objects" select="COMPONENT | COMPONENT_FOLDER"/>
    <COMPONENT_FOLDER id="SECTION.DEVICE" catalogLevel="true">
      <section name="DEVICE"/>
    </COMPONENT_FOLDER>
    <xsl:for-each select="$objects/PROTOCOL[@name][generate-id() = generate-id(key('protocol', @name)[1])]">
      <COMPONENT_FOLDER id="{concat('PROTOCOL.', @name)}" catalogLevel="true">
        <PROTOCOL name="{@name}"/>
      </COMPONENT_FOLDER>
    </xsl:for-each>
    <!-- A description without components is placed under the protocol that its
         definitions or its manufacturer number tell (the compiler's PROTOCOL note). -->
    <xsl:variable name="plainProtocol" select="IDENTIFICATION/PROTOCOL[@name][not(current()/COMPONENT)]/@name"/>
    <xsl:if test="$plainProtocol and not($objects/PROTOCOL[@name = $plainProtocol])">
      <COMPONENT_FOLDER id="{concat('PROTOCOL.', $plainProtocol)}" catalogLevel="true">
        <PROTOCOL name="{$plainProtocol}"/>
      </COMPONENT_FOLDER>
    </xsl:if>
    <xsl:variable name="classifications"
                  select="$objects/CLASSIFICATION[@name][generate-id() =
                          generate-id(key('classification',
                                          concat((../PROTOCOL[@name])[last()]/@name, '|', @name))[1])]"/>
    <xsl:for-each select="$classifications">
      <xsl:variable name="protocol" select="(../PROTOCOL[@name])[last()]/@name"/>
      <COMPONENT_FOLDER id="{concat('CLASSIFICATION.', $protocol, '.', @name)}" catalogLevel="true">
        <xsl:if test="$protocol"><PROTOCOL name="{$protocol}"/></xsl:if>
        <CLASSIFICATION name="{@name}"/>
      </COMPONENT_FOLDER>
    </xsl:for-each>
    <xsl:if test="string($manufacturer) != ''">
      <xsl:for-each select="$classifications">
        <xsl:variable name="protocol" select="(../PROTOCOL[@name])[last()]/@name"/>
        <COMPONENT_FOLDER id="{concat('MANUFACTURER.', $protocol, '.', @name, '.', $manufacturer)}"
                          catalogLevel="true">
          <xsl:if test="$protocol"><PROTOCOL name="{$protocol}"/></xsl:if>
          <CLASSIFICATION name="{@name}"/>
          <MANUFACTURER_EXT name="{$manufacturer}"/>
          <xsl:if test="$manufacturerLabel != ''">
            <LABEL><string><xsl:value-of select="$manufacturerLabel"/></string></LABEL>
          </xsl:if>
        </COMPONENT_FOLDER>
      </xsl:for-each>
    </xsl:if>
  </xsl:template>

  <!-- ===== Objects ===== -->

  <xsl:template match="COMPONENT_FOLDER">
    <COMPONENT_FOLDER id="{@id}">
      <xsl:call-template name="placement"/>
      <!-- A folder names its manufacturer only below a classification: the level
           table places a folder with a manufacturer but no classification nowhere. -->
      <xsl:if test="CLASSIFICATION[@name]">
        <xsl:call-template name="source-manufacturer"/>
      </xsl:if>
      <xsl:call-template name="texts"/>
      <xsl:call-template name="content"/>
    </COMPONENT_FOLDER>
  </xsl:template>

  <xsl:template match="COMPONENT">
    <COMPONENT id="{@id}">
      <xsl:call-template name="placement"/>
      <xsl:call-template name="source-manufacturer"/>
      <xsl:call-template name="texts"/>
      <xsl:call-template name="zarn"/>
      <xsl:call-template name="content"/>
      <xsl:call-template name="own-identification"/>
    </COMPONENT>
  </xsl:template>

  <!-- A component that names its own device type (a GSD station, an IODD variant)
       carries its identification for the catalog's index: manufacturer number (the
       component's, else the source's, else 0x0000 for a maker known by name only),
       device type, device revision and DD revision (the component's, else the
       source's). Sources identified by the catalog itself (device descriptions)
       name none here. -->
  <xsl:template name="own-identification">
    <xsl:variable name="source" select="/ZARN_DEVICE/IDENTIFICATION"/>
    <xsl:if test="DEVICE_TYPE[@hex]">
      <xsl:variable name="manufacturer" select="(MANUFACTURER[@hex] | $source/MANUFACTURER[@hex])[1]/@hex"/>
      <xsl:variable name="revision" select="(DEVICE_REVISION[@hex] | $source/DEVICE_REVISION[@hex])[1]"/>
      <xsl:variable name="dd" select="$source/DD_REVISION"/>
      <SOURCE_IDENTIFICATION deviceType="{DEVICE_TYPE/@hex}">
        <xsl:attribute name="manufacturer">
          <xsl:choose>
            <xsl:when test="$manufacturer"><xsl:value-of select="$manufacturer"/></xsl:when>
            <xsl:otherwise>0x0000</xsl:otherwise>
          </xsl:choose>
        </xsl:attribute>
        <xsl:if test="$revision"><xsl:attribute name="deviceRevision"><xsl:value-of select="$revision/@hex"/></xsl:attribute></xsl:if>
        <xsl:if test="$dd">
          <xsl:attribute name="ddRevision">
            <xsl:choose>
              <xsl:when test="$dd/@hex"><xsl:value-of select="$dd/@hex"/></xsl:when>
              <xsl:otherwise><xsl:value-of select="$dd/@name"/></xsl:otherwise>
            </xsl:choose>
          </xsl:attribute>
        </xsl:if>
      </SOURCE_IDENTIFICATION>
    </xsl:if>
  </xsl:template>

  <xsl:template match="COMPONENT_REFERENCE">
    <COMPONENT_REFERENCE id="{@id}">
      <xsl:call-template name="placement"><xsl:with-param name="ownSegment" select="false()"/></xsl:call-template>
      <xsl:for-each select="(MANUFACTURER[@name])[last()]">
        <MANUFACTURER_EXT name="{@name}"/>
      </xsl:for-each>
      <xsl:for-each select="DEVICE_TYPE | DEVICE_REVISION">
        <xsl:element name="{name()}">
          <xsl:choose>
            <xsl:when test="@hex"><xsl:value-of select="@hex"/></xsl:when>
            <xsl:otherwise><xsl:value-of select="@name"/></xsl:otherwise>
          </xsl:choose>
        </xsl:element>
      </xsl:for-each>
      <xsl:call-template name="texts"/>
    </COMPONENT_REFERENCE>
  </xsl:template>

  <!-- The device itself, for a source that defines no COMPONENT. -->
  <xsl:template name="device-component">
    <xsl:variable name="stem">
      <xsl:call-template name="strip-extension"><xsl:with-param name="name" select="$sourceName"/></xsl:call-template>
    </xsl:variable>
    <xsl:variable name="id">
      <xsl:choose>
        <xsl:when test="string($stem) != ''"><xsl:value-of select="$stem"/></xsl:when>
        <xsl:otherwise>device</xsl:otherwise>
      </xsl:choose>
    </xsl:variable>
    <COMPONENT id="{$id}">
      <COMPONENT_PATH name="{$id}"/>
      <xsl:for-each select="/ZARN_DEVICE/IDENTIFICATION/PROTOCOL[@name]">
        <PROTOCOL name="{@name}"/>
      </xsl:for-each>
      <xsl:call-template name="source-manufacturer"/>
      <LABEL><string><xsl:value-of select="$id"/></string></LABEL>
      <xsl:call-template name="zarn"/>
    </COMPONENT>
  </xsl:template>

  <xsl:template name="strip-extension">
    <xsl:param name="name"/>
    <xsl:param name="done" select="''"/>
    <xsl:choose>
      <xsl:when test="contains($name, '.')">
        <xsl:call-template name="strip-extension">
          <xsl:with-param name="name" select="substring-after($name, '.')"/>
          <xsl:with-param name="done">
            <xsl:value-of select="$done"/>
            <xsl:if test="$done != ''">.</xsl:if>
            <xsl:value-of select="substring-before($name, '.')"/>
          </xsl:with-param>
        </xsl:call-template>
      </xsl:when>
      <xsl:when test="$done != ''"><xsl:value-of select="$done"/></xsl:when>
      <xsl:otherwise><xsl:value-of select="$name"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- PROTOCOL, CLASSIFICATION (name) and COMPONENT_PARENT (refid): the last
       unconditioned one of each. COMPONENT_PATH: the catalog path of the object
       itself, so the source's folders followed by the object's id (the catalog names
       a folder or component by the last segment of its path; below a parent the path
       continues the parent's). An object whose parent is a folder of the same source
       is a member of that folder and gets its own segment; one placed below a parent
       component by reference alone keeps no path. A reference's path names the
       referenced object and is kept as written. -->
  <xsl:template name="placement">
    <xsl:param name="ownSegment" select="true()"/>
    <xsl:for-each select="(PROTOCOL[@name])[last()] | (CLASSIFICATION[@name])[last()]">
      <xsl:element name="{name()}"><xsl:attribute name="name"><xsl:value-of select="@name"/></xsl:attribute></xsl:element>
    </xsl:for-each>
    <xsl:variable name="folders">
      <xsl:call-template name="trim-slashes">
        <xsl:with-param name="text" select="(COMPONENT_PATH[@name])[last()]/@name"/>
      </xsl:call-template>
    </xsl:variable>
    <xsl:choose>
      <xsl:when test="not($ownSegment)">
        <xsl:if test="string($folders) != ''"><COMPONENT_PATH name="{$folders}"/></xsl:if>
      </xsl:when>
      <xsl:when test="string($folders) != ''"><COMPONENT_PATH name="{concat($folders, '/', @id)}"/></xsl:when>
      <xsl:when test="not(COMPONENT_PARENT[@refid]) or key('folder', (COMPONENT_PARENT[@refid])[last()]/@refid)">
        <COMPONENT_PATH name="{@id}"/>
      </xsl:when>
    </xsl:choose>
    <xsl:for-each select="(COMPONENT_PARENT[@refid])[last()]">
      <COMPONENT_PARENT refid="{@refid}"/>
    </xsl:for-each>
  </xsl:template>

  <!-- The text without leading and trailing "/" and "\". -->
  <xsl:template name="trim-slashes">
    <xsl:param name="text"/>
    <xsl:variable name="first" select="substring($text, 1, 1)"/>
    <xsl:variable name="last" select="substring($text, string-length($text), 1)"/>
    <xsl:choose>
      <xsl:when test="$text = ''"/>
      <xsl:when test="$first = '/' or $first = '\'">
        <xsl:call-template name="trim-slashes"><xsl:with-param name="text" select="substring($text, 2)"/></xsl:call-template>
      </xsl:when>
      <xsl:when test="$last = '/' or $last = '\'">
        <xsl:call-template name="trim-slashes">
          <xsl:with-param name="text" select="substring($text, 1, string-length($text) - 1)"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$text"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="source-manufacturer">
    <xsl:if test="string($manufacturer) != ''">
      <MANUFACTURER_EXT name="{$manufacturer}"/>
    </xsl:if>
  </xsl:template>

  <xsl:template name="zarn">
    <xsl:if test="string($sourceName) != ''">
      <ZARN><xsl:value-of select="$sourceName"/></ZARN>
    </xsl:if>
  </xsl:template>

  <!-- LABEL and HELP: the string children (the default first, without lang). -->
  <xsl:template name="texts">
    <xsl:for-each select="(LABEL[string])[1] | (HELP[string])[1]">
      <xsl:element name="{name()}">
        <xsl:copy-of select="string"/>
      </xsl:element>
    </xsl:for-each>
  </xsl:template>

  <!-- Everything else a folder or component gives. -->
  <xsl:template name="content">
    <xsl:if test="COMPONENT_RELATIONS/relation_ref[key('relation', @ref)]">
      <COMPONENT_RELATIONS>
        <xsl:for-each select="COMPONENT_RELATIONS/relation_ref">
          <xsl:apply-templates select="key('relation', @ref)[1]"/>
        </xsl:for-each>
      </COMPONENT_RELATIONS>
    </xsl:if>
    <xsl:if test="INITIAL_VALUES/initial_value[*[2]]">
      <INITIAL_VALUES>
        <xsl:apply-templates select="INITIAL_VALUES/initial_value[*[2]]"/>
      </INITIAL_VALUES>
    </xsl:if>
    <xsl:if test="PURPOSE_MAPPING/*">
      <PURPOSE_MAPPING>
        <xsl:copy-of select="PURPOSE_MAPPING/*"/>
      </PURPOSE_MAPPING>
    </xsl:if>
    <xsl:for-each select="(EDD[string])[1]">
      <ADDITIONAL_ZARNS>
        <xsl:for-each select="../EDD/string[not(@lang)]">
          <string><xsl:value-of select="."/></string>
        </xsl:for-each>
      </ADDITIONAL_ZARNS>
    </xsl:for-each>
    <xsl:for-each select="(GSD[string])[1]">
      <GSD><xsl:copy-of select="../GSD/string[not(@lang)]"/></GSD>
    </xsl:for-each>
    <xsl:for-each select="(PRODUCT_URI)[1] | (CAN_DELETE)[1] | (CHECK_CONFIGURATION)[1] | (DETECT)[1] |
                          (SCAN)[1] | (IMAGE)[1] | (DEVICE_MANUAL)[1] | (ORDER_NUMBER)[1]">
      <xsl:element name="{name()}">
        <xsl:call-template name="value-text"/>
      </xsl:element>
    </xsl:for-each>
  </xsl:template>

  <!-- The text of the one value an attribute holds; isConditioned for a conditioned one. -->
  <xsl:template name="value-text">
    <xsl:choose>
      <xsl:when test="@conditioned = 'true' and not(*)"><isConditioned>true</isConditioned></xsl:when>
      <xsl:when test="string[not(@lang)]"><xsl:value-of select="string[not(@lang)][1]"/></xsl:when>
      <xsl:when test="*[@ref]"><xsl:value-of select="*[@ref][1]/@ref"/></xsl:when>
      <xsl:otherwise><xsl:value-of select="*[1]"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- ===== Initial values: the variable, then the value (one element per language) ===== -->

  <xsl:template match="initial_value">
    <initial_value>
      <xsl:copy-of select="*[1]"/>
      <xsl:for-each select="*[position() > 1]">
        <xsl:choose>
          <xsl:when test="self::reference or self::dictionary_ref">
            <xsl:element name="{name()}"><xsl:value-of select="@ref"/></xsl:element>
          </xsl:when>
          <xsl:otherwise><xsl:copy-of select="."/></xsl:otherwise>
        </xsl:choose>
      </xsl:for-each>
    </initial_value>
  </xsl:template>

  <!-- ===== Relations ===== -->

  <xsl:template match="COMPONENT_RELATION">
    <COMPONENT_RELATION id="{@id}">
      <xsl:call-template name="texts"/>
      <xsl:copy-of select="RELATION_TYPE"/>
      <isConditioned><xsl:call-template name="conditioned-text"/></isConditioned>
      <xsl:apply-templates select="MINIMUM_NUMBER | MAXIMUM_NUMBER" mode="number"/>
      <xsl:if test="ADDRESSING">
        <ADDRESSING><xsl:copy-of select="ADDRESSING/*[@ref]"/></ADDRESSING>
      </xsl:if>
      <COMPONENTS>
        <xsl:apply-templates select="COMPONENTS/component[component_ref]"/>
      </COMPONENTS>
    </COMPONENT_RELATION>
  </xsl:template>

  <xsl:template match="component">
    <component>
      <isConditioned><xsl:call-template name="conditioned-text"/></isConditioned>
      <component_ref ref="{component_ref/@ref}"/>
      <xsl:apply-templates select="AUTO_CREATE | AUTO_CREATE_NODELETE | MINIMUM_NUMBER | MAXIMUM_NUMBER"
                           mode="number"/>
      <xsl:if test="REQUIRED_RANGES/required_range">
        <REQUIRED_RANGES>
          <xsl:apply-templates select="REQUIRED_RANGES/required_range"/>
        </REQUIRED_RANGES>
      </xsl:if>
    </component>
  </xsl:template>

  <xsl:template name="conditioned-text">
    <xsl:choose>
      <xsl:when test="@conditioned = 'true'">true</xsl:when>
      <xsl:otherwise>false</xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- A count: isConditioned, then the integer when the source gives one. -->
  <xsl:template match="*" mode="number">
    <xsl:element name="{name()}">
      <isConditioned><xsl:call-template name="conditioned-text"/></isConditioned>
      <xsl:if test="integer[normalize-space() != '']">
        <integer><xsl:value-of select="normalize-space(integer[1])"/></integer>
      </xsl:if>
    </xsl:element>
  </xsl:template>

  <xsl:template match="required_range">
    <required_range>
      <xsl:copy-of select="(variable_ref | unknown_ref)[1]"/>
      <xsl:for-each select="*[starts-with(name(), 'MIN_VALUE') or starts-with(name(), 'MAX_VALUE')]">
        <xsl:element name="{name()}">
          <xsl:choose>
            <xsl:when test="*[normalize-space() != '']"><xsl:copy-of select="*[normalize-space() != ''][1]"/></xsl:when>
            <xsl:otherwise><isConditioned>true</isConditioned></xsl:otherwise>
          </xsl:choose>
        </xsl:element>
      </xsl:for-each>
    </required_range>
  </xsl:template>

</xsl:stylesheet>
