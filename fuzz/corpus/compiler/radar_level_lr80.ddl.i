


























































MANUFACTURER 0x00F3, DEVICE_TYPE 0xF380, DEVICE_REVISION 1, DD_REVISION 3















VARIABLE tag
{
    LABEL "|en|" "Tag" "|de|" "Messstellenkennzeichen";
    HELP "|en|" "Tag of the measuring point" "|de|" "Kennzeichen der Messstelle";
    CLASS CONTAINED;
    TYPE PACKED_ASCII (8)
    {
        DEFAULT_VALUE "";
    }
    HANDLING READ & WRITE;
}

VARIABLE descriptor
{
    LABEL "|en|" "Descriptor" "|de|" "Beschreibung";
    HELP "|en|Free text describing the measuring point|de|Freitext zur Messstelle";
    CLASS CONTAINED;
    TYPE PACKED_ASCII (16);
    HANDLING READ & WRITE;
}

VARIABLE message
{
    LABEL "|en|" "Message" "|de|" "Nachricht";
    CLASS CONTAINED;
    TYPE PACKED_ASCII (32);
    HANDLING READ & WRITE;
}

VARIABLE install_date
{
    LABEL "|en|" "Installation date" "|de|" "Installationsdatum";
    CLASS CONTAINED;
    TYPE DATE;
    HANDLING READ & WRITE;
}

VARIABLE write_protection
{
    LABEL "|en|" "Write protection" "|de|" "Schreibschutz";
    HELP "|en|Set by the hardware switch of the device|de|Durch den Hardware-Schalter gesetzt";
    CLASS CONTAINED;
    TYPE ENUMERATED (1)
    {
        { 0, "|en|Off|de|Aus" },
        { 1, "|en|On|de|Ein", "|en|Parameters cannot be written|de|Parameter nicht schreibbar" }
    }
    HANDLING READ;
}


COLLECTION OF VARIABLE device_identity
{
    LABEL "|en|" "Identification" "|de|" "Identifikation";
    MEMBERS
    {
        TAG,         tag;
        DESCRIPTOR,  descriptor;
        MESSAGE,     message;
        DATE,        install_date;
    }
}



VARIABLE level
{
    LABEL "|en|Level|de|Füllstand";
    CLASS DEVICE & DYNAMIC;
    TYPE FLOAT
    {
        MIN_VALUE 0.0;
        MAX_VALUE 30.0;
    }
    HANDLING READ;
}

VARIABLE tank_height
{
    LABEL "|en|" "Tank height" "|de|" "Behälterhöhe";
    CLASS CONTAINED;
    TYPE FLOAT
    {
        DEFAULT_VALUE 10.0;
        MIN_VALUE 0.3;
        MAX_VALUE 30.0;
    }
    HANDLING READ & WRITE;
}

VARIABLE echo_quality
{
    LABEL "|en|" "Echo quality" "|de|" "Echoqualität";
    CLASS DEVICE & DYNAMIC;
    TYPE UNSIGNED_INTEGER (1)
    {
        MAX_VALUE 100;
    }
    HANDLING READ;
}

VARIABLE level_unit
{
    LABEL "|en|" "Level unit" "|de|" "Füllstandseinheit";
    CLASS CONTAINED;
    TYPE ENUMERATED (1)
    {
        { 45, "m" },
        { 57, "%" }
    }
    HANDLING READ & WRITE;
}

GRID echo_table
{
    LABEL "|en|" "Echoes" "|de|" "Echos";
    VECTORS
    {
        { "|en|Distance|de|Abstand", tank_height },
        { "|en|Quality|de|Qualität", echo_quality }
    }
}

SOURCE level_source
{
    LABEL "|en|" "Level" "|de|" "Füllstand";
    MEMBERS
    {
        LEVEL, level;
    }
}

CHART level_trend
{
    LABEL "|en|" "Level trend" "|de|" "Füllstandsverlauf";
    TYPE STRIP;
    MEMBERS
    {
        LEVEL, level_source;
    }
}

IMAGE lr80_picture
{
    LABEL "LR 80";
    PATH "lr80.png";
}

COMPONENT_FOLDER quellmark_level_folder
{
    LABEL "|en|" "Radar level" "|de|" "Radar-Füllstand";
    PROTOCOL HART;
    CLASSIFICATION SENSOR_LEVEL_ECHO;
    COMPONENT_PATH "Level";
}

COMPONENT_REFERENCE quellmark_tt420_ref
{
    MANUFACTURER 0x00F3;
    DEVICE_TYPE 0xF342;
    DEVICE_REVISION 5;
    PROTOCOL HART;
    CLASSIFICATION SENSOR_TEMPERATURE;
    COMPONENT_PATH "Temperature/Head transmitters/tt420";
}

COMPONENT_RELATION lr80_temperature_input
{
    LABEL "|en|" "Temperature input" "|de|" "Temperatureingang";
    HELP "|en|A TT 420 compensates the gas phase|de|Ein TT 420 kompensiert die Gasphase";
    RELATION_TYPE SIBLING_COMPONENT;
    COMPONENTS
    {
        quellmark_tt420_ref
        {
            MINIMUM_NUMBER 0;
            MAXIMUM_NUMBER 1;
        }
    }
}

COMPONENT lr80
{
    LABEL "|en|LR 80 radar level transmitter|de|LR 80 Radar-Füllstandmessumformer";
    HELP "|en|Non-contact level measurement up to 30 m|de|Berührungslose Füllstandmessung bis 30 m";
    PROTOCOL HART;
    CLASSIFICATION SENSOR_LEVEL_ECHO;
    COMPONENT_PARENT quellmark_level_folder;
    COMPONENT_RELATIONS { lr80_temperature_input }
    INITIAL_VALUES
    {
        tag = "LT-",
        level_unit = 45,
        tank_height = 10.0
    }
    PURPOSE_MAPPING
    {
        tag PURPOSE_TAG,
        level PURPOSE_PRIMARY_VALUE
    }
}
