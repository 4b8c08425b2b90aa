



























































MANUFACTURER 0x00F4, DEVICE_TYPE 0xF408, DEVICE_REVISION 1, DD_REVISION 1



VARIABLE station_address
{
    LABEL "|en|PROFIBUS address|de|PROFIBUS-Adresse";
    CLASS CONTAINED;
    TYPE UNSIGNED_INTEGER (1)
    {
        DEFAULT_VALUE 126;
        MIN_VALUE 1;
        MAX_VALUE 126;
    }
    HANDLING READ & WRITE;
}

VARIABLE station_name
{
    LABEL "|en|Station name|de|Stationsname";
    CLASS CONTAINED;
    TYPE ASCII (24);
    HANDLING READ & WRITE;
}

VARIABLE redundancy
{
    LABEL "|en|Redundant head|de|Redundante Kopfstation";
    CLASS CONTAINED;
    TYPE ENUMERATED (1)
    {
        { 0, "|en|No|de|Nein" },
        { 1, "|en|Yes|de|Ja" }
    }
    HANDLING READ & WRITE;
}

COMPONENT_FOLDER brennvik_station_folder
{
    LABEL "|en|Remote I/O stations|de|Dezentrale Peripheriestationen";
    HELP "|en|Stations and modules of the RIO series|de|Stationen und Module der Baureihe RIO";
    PROTOCOL PROFIBUS_DP;
    CLASSIFICATION REMOTEIO;
    COMPONENT_PATH "RIO";
}

COMPONENT_REFERENCE brennvik_ai4_ref
{
    MANUFACTURER 0x00F4;
    DEVICE_TYPE 0xF481;
    DEVICE_REVISION 1;
    PROTOCOL PROFIBUS_DP;
    CLASSIFICATION REMOTEIO;
    COMPONENT_PATH "RIO/Modules/ai4_module";
}

COMPONENT_REFERENCE brennvik_do8_ref
{
    MANUFACTURER 0x00F4;
    DEVICE_TYPE 0xF482;
    DEVICE_REVISION 1;
    PROTOCOL PROFIBUS_DP;
    CLASSIFICATION DISCRETE_OUT;
    COMPONENT_PATH "RIO/Modules/do8_module";
}

COMPONENT_RELATION rio8_modules
{
    LABEL "|en|I/O modules|de|E/A-Module";
    HELP "|en|Analog inputs in slots 1 to 4, digital outputs in slots 5 to 8"
         "|de|Analogeingänge auf Steckplatz 1 bis 4, Digitalausgänge auf 5 bis 8";
    RELATION_TYPE CHILD_COMPONENT;
    MINIMUM_NUMBER 1;
    MAXIMUM_NUMBER 8;
    ADDRESSING { slot_number }
    COMPONENTS
    {
        brennvik_ai4_ref
        {
            AUTO_CREATE 1;
            AUTO_CREATE_NODELETE 0;
            MINIMUM_NUMBER 0;
            MAXIMUM_NUMBER 4;
            REQUIRED_RANGES
            {
                slot_number
                {
                    MIN_VALUE 1;
                    MAX_VALUE 4;
                }
            }
        },
        brennvik_do8_ref
        {
            MINIMUM_NUMBER 0;
            MAXIMUM_NUMBER 4;
            REQUIRED_RANGES
            {
                slot_number
                {
                    MIN_VALUE 5;
                    MAX_VALUE 6;
                    MIN_VALUE1 7;
                    MAX_VALUE1
                        IF (redundancy == 1) { 7; }
                        ELSE { 8; }
                }
            }
        }
    }
}

COMPONENT rio8
{
    LABEL "|en|RIO 8 remote I/O station|de|RIO 8 Dezentrale Peripheriestation";
    HELP "|en|Head station with 8 slots, 12 Mbit/s|de|Kopfstation mit 8 Steckplätzen, 12 MBit/s";
    PRODUCT_URI "urn:brennvik:rio8";
    PROTOCOL PROFIBUS_DP;
    CLASSIFICATION REMOTEIO;
    COMPONENT_PARENT brennvik_station_folder;
    COMPONENT_RELATIONS { rio8_modules }
    CAN_DELETE TRUE;
    INITIAL_VALUES
    {
        station_address = 3,
        redundancy = 0,
        station_name = "RIO8"
    }
    PURPOSE_MAPPING
    {
        station_name PURPOSE_TAG
    }
}
