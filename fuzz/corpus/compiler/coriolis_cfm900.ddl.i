
































































MANUFACTURER 0x00F1, DEVICE_TYPE ZX_CORIOLIS_900, DEVICE_REVISION 3, DD_REVISION 1
















VARIABLE tag
{
    LABEL "|en|" "Tag" "|de|" "Messstellenkennzeichen";
    HELP "|en|" "Tag of the measuring point" "|de|" "Kennzeichen der Messstelle";
    CLASS CONTAINED;
    TYPE PACKED_ASCII (32)
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







VARIABLE mass_flow_unit
{
    LABEL "|en|" "Mass flow unit" "|de|" "Einheit Massedurchfluss";
    CLASS CONTAINED;
    TYPE ENUMERATED (1)
    {
        { 75, "kg/h" },
        { 78, "t/h" },
        { 70, "g/s", "|en|Grams per second|de|Gramm pro Sekunde" },
        { 73, "kg/s" }
    }
    HANDLING READ & WRITE;
}

VARIABLE mass_flow
{
    LABEL "|en|Mass flow|de|Massedurchfluss|fr|Débit massique";
    HELP "|en|Primary variable: mass flow through the measuring tubes"
         "|de|Primärvariable: Massedurchfluss durch die Messrohre";
    CLASS DEVICE & DYNAMIC;
    TYPE FLOAT
    {
        DEFAULT_VALUE 0.0;

        MIN_VALUE
            IF (nominal_size == 15) { -6500.0; }
            ELSE { -65000.0; }
        MAX_VALUE
            IF (nominal_size == 15) { 6500.0; }
            ELSE { 65000.0; }
    }
    HANDLING READ;
}

VARIABLE density
{
    LABEL "|en|" "Density" "|de|" "Dichte";
    CLASS DEVICE & DYNAMIC;
    TYPE FLOAT
    {
        MIN_VALUE 0.0;
        MAX_VALUE 5000.0;
    }
    HANDLING READ;
}

VARIABLE tube_temperature
{
    LABEL "|en|" "Tube temperature" "|de|" "Messrohrtemperatur";
    CLASS DEVICE & DYNAMIC;
    TYPE FLOAT
    {
        MIN_VALUE -50.0;
        MAX_VALUE 200.0;
    }
    HANDLING READ;
}

VARIABLE nominal_size
{
    LABEL "|en|" "Nominal size" "|de|" "Nennweite";
    HELP "|en|Nominal size of the sensor (DN)|de|Nennweite des Aufnehmers (DN)";
    CLASS CONTAINED;
    TYPE ENUMERATED (1)
    {
        { 15, "DN 15" },
        { 25, "DN 25" },
        { 50, "DN 50" },
        { 80, "DN 80" }
    }
    HANDLING
        IF (write_protection == 1) { READ; }
        ELSE { READ & WRITE; }
}

VARIABLE low_flow_cutoff
{
    LABEL "|en|" "Low flow cut-off" "|de|" "Schleichmengenunterdrueckung";
    CLASS CONTAINED;
    TYPE FLOAT
    {
        DEFAULT_VALUE 0.5;
        MIN_VALUE 0.0;
        MAX_VALUE 10.0;
    }
    HANDLING READ & WRITE;
}

VARIABLE zero_point_state
{
    LABEL "|en|" "Zero point adjustment" "|de|" "Nullpunktabgleich";
    CLASS CONTAINED;
    TYPE ENUMERATED
    {
        { 0, "|en|Not done|de|Nicht durchgefuehrt" },
        { 1, "|en|Running|de|Laeuft" },
        { 2, "|en|Done|de|Durchgefuehrt" }
    }
    HANDLING READ;
}





COMMAND read_mass_flow
{
    NUMBER 1;
    OPERATION READ;
    TRANSACTION
    {
        REQUEST {}
        REPLY
        {
            response_code, device_status, mass_flow_unit, mass_flow
        }
    }
    RESPONSE_CODES
    {
        0, SUCCESS, [no_command_specific_errors];
        8, MISC_WARNING, "|en|Update failure|de|Aktualisierungsfehler";
    }
}

METHOD zero_point_adjust
{
    LABEL "|en|" "Zero point adjustment" "|de|" "Nullpunktabgleich";
    HELP "|en|Stop the flow completely before starting.|de|Vor dem Start den Durchfluss ganz stoppen.";
    CLASS INPUT;
    DEFINITION
    {
        int status;
        char reply[64];

        ACKNOWLEDGE("|en|Make sure the tubes are filled and the flow is stopped {"
                    "really stopped}.|de|Messrohre gefuellt, Durchfluss gestoppt?");
        status = send_command(131);
        if (status != BI_SUCCESS) {

            abort();
        }
        do {
            delayfor(2, "|en|Adjusting ... %{zero_point_state}", {zero_point_state}, {}, 0);
        } while (zero_point_state == 1);
        sprintf(reply, "done: %d", zero_point_state);
    }
}

MENU process_variables
{
    LABEL "|en|" "Process variables" "|de|" "Prozesswerte";
    ITEMS
    {
        mass_flow (DISPLAY_VALUE),
        density (DISPLAY_VALUE),
        tube_temperature (DISPLAY_VALUE),
        mass_flow_unit
    }
}

MENU root_menu
{
    LABEL "|en|CFM 900|de|CFM 900";
    ITEMS
    {
        process_variables,
        device_identity,
        zero_point_adjust
    }
}





COMPONENT_FOLDER zentrifex_coriolis_folder
{
    LABEL "|en|" "Coriolis flowmeters" "|de|" "Coriolis-Durchflussmesser";
    HELP "|en|Mass flowmeters of the CFM series|de|Massedurchflussmesser der Baureihe CFM";
    PROTOCOL HART;
    CLASSIFICATION SENSOR_FLOW_CORIOLIS;
    COMPONENT_PATH "Flow";
}

COMPONENT cfm900
{
    LABEL "|en|CFM 900 Coriolis mass flowmeter|de|CFM 900 Coriolis-Massedurchflussmesser";
    HELP "|en|Mass flow, density and temperature in one device, DN 15 to DN 80"
         "|de|Massedurchfluss, Dichte und Temperatur in einem Gerät, DN 15 bis DN 80";
    PRODUCT_URI "urn:zentrifex:product:cfm900";
    PROTOCOL HART;
    CLASSIFICATION SENSOR_FLOW_CORIOLIS;
    COMPONENT_PARENT zentrifex_coriolis_folder;
    CAN_DELETE TRUE;
    INITIAL_VALUES
    {
        tag = "FT-",
        mass_flow_unit = 75,
        low_flow_cutoff = 0.5,
        IF (nominal_size == 15) { nominal_size = 15 }
        ELSE { nominal_size = 25 }
    }
    PURPOSE_MAPPING
    {
        tag PURPOSE_TAG,
        descriptor PURPOSE_DESCRIPTION,
        mass_flow PURPOSE_PRIMARY_VALUE
    }
}
