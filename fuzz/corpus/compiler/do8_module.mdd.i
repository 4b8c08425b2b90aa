

























































MANUFACTURER 0x00F4, DEVICE_TYPE 0xF482, DEVICE_REVISION 1, DD_REVISION 1



























VARIABLE slot_number
{
    LABEL "|en|Slot|de|Steckplatz";
    HELP "|en|Slot of the module in the station|de|Steckplatz des Moduls in der Station";
    CLASS CONTAINED;
    TYPE UNSIGNED_INTEGER (1)
    {
        DEFAULT_VALUE 1;
        MIN_VALUE 1;
        MAX_VALUE 8;
    }
    HANDLING READ & WRITE;
}

VARIABLE channel_count
{
    LABEL "|en|Channels|de|Kanaele";
    CLASS CONTAINED;
    TYPE UNSIGNED_INTEGER (1)
    {
        DEFAULT_VALUE 8;
    }
    HANDLING READ;
}

VARIABLE module_state
{
    LABEL "|en|Module state|de|Modulzustand";
    CLASS CONTAINED & DYNAMIC;
    TYPE ENUMERATED (1)
    {
        { 0, "|en|Not plugged|de|Nicht gesteckt" },
        { 1, "|en|Running|de|In Betrieb" },
        { 2, "|en|Wrong module|de|Falsches Modul" },
        { 3, "|en|Fault|de|Fehler", "|en|See the diagnosis of the station|de|Siehe Diagnose der Station" }
    }
    HANDLING READ;
}

VARIABLE diagnosis_enable
{
    LABEL "|en|Channel diagnosis|de|Kanaldiagnose";
    CLASS CONTAINED;
    TYPE BIT_ENUMERATED (1)
    {
        { 0x01, "|en|Wire break|de|Drahtbruch" },
        { 0x02, "|en|Short circuit|de|Kurzschluss" },
        { 0x04, "|en|Overload|de|Ueberlast" }
    }
    HANDLING READ & WRITE;
}

MENU module_general_page
{
    LABEL "|en|General|de|Allgemein";
    ITEMS
    {
        slot_number,
        channel_count,
        module_state (DISPLAY_VALUE),
        diagnosis_enable
    }
}



VARIABLE substitute_value
{
    LABEL "|en|Substitute value|de|Ersatzwert";
    HELP "|en|Output pattern when the station loses the bus|de|Ausgabemuster bei Busausfall";
    CLASS CONTAINED;
    TYPE BIT_ENUMERATED (1)
    {
        { 0x01, "|en|Output 1|de|Ausgang 1" },
        { 0x02, "|en|Output 2|de|Ausgang 2" },
        { 0x04, "|en|Output 3|de|Ausgang 3" },
        { 0x08, "|en|Output 4|de|Ausgang 4" },
        { 0x10, "|en|Output 5|de|Ausgang 5" },
        { 0x20, "|en|Output 6|de|Ausgang 6" },
        { 0x40, "|en|Output 7|de|Ausgang 7" },
        { 0x80, "|en|Output 8|de|Ausgang 8" }
    }
    HANDLING READ & WRITE;
}

COMPONENT_REFERENCE brennvik_rio8_ref
{
    MANUFACTURER 0x00F4;
    DEVICE_TYPE 0xF408;
    DEVICE_REVISION 1;
    PROTOCOL PROFIBUS_DP;
    CLASSIFICATION REMOTEIO;
    COMPONENT_PATH "RIO/brennvik_station_folder/rio8";
}

COMPONENT_RELATION do8_station
{
    LABEL "|en|Station|de|Station";
    RELATION_TYPE PARENT_COMPONENT;
    COMPONENTS
    {
        brennvik_rio8_ref
    }
}

COMPONENT do8_module
{
    LABEL "|en|DO 8 digital output module|de|DO 8 Digitalausgabemodul";
    HELP "|en|8 outputs 24 V DC, 0.5 A|de|8 Ausgänge 24 V DC, 0,5 A";
    PROTOCOL PROFIBUS_DP;
    CLASSIFICATION DISCRETE_OUT;
    COMPONENT_PATH "RIO/Modules";
    COMPONENT_RELATIONS { do8_station }
    INITIAL_VALUES
    {
        slot_number = 5,
        substitute_value = 0
    }
}
