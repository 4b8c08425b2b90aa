// The GSD vocabulary: keywords a GSD file may use, whether or not the converter
// interprets them. Anything else is reported as unknown.
#include <algorithm>
#include <iterator>
#include <string_view>

#include "libs/devices_converter/gsd_reader.h"
#include "platform/strings.h"

namespace zarn::converters {
namespace {

constexpr std::string_view kKeywords[] = {
    // General
    "GSD_Revision", "Vendor_Name", "Model_Name", "Revision", "Revision_Number", "Ident_Number", "Protocol_Ident",
    "Station_Type", "FMS_supp", "Hardware_Release", "Software_Release", "Redundancy", "Repeater_Ctrl_Sig", "24V_Pins",
    "Implementation_Type", "Bitmap_Device", "OrderNumber", "Family_Name", "FixPresetModules", "Bitmap_Diag",
    "Bitmap_SF", "Info_Text", "Slave_Family", "Physical_Layer", "Physical_Interface", "End_Physical_Interface",
    "Transmission_Delay_31.25", "Reaction_Delay_31.25", "Transmission_Delay_45.45", "Reaction_Delay_45.45",
    "Transmission_Delay_93.75", "Reaction_Delay_93.75", "Transmission_Delay_187.5", "Reaction_Delay_187.5",
    "Transmission_Delay_500", "Reaction_Delay_500", "Transmission_Delay_1.5M", "Reaction_Delay_1.5M",
    "Transmission_Delay_3M", "Reaction_Delay_3M", "Transmission_Delay_6M", "Reaction_Delay_6M",
    "Transmission_Delay_12M", "Reaction_Delay_12M",
    // Baud rates and timing
    "9.6_supp", "19.2_supp", "31.25_supp", "45.45_supp", "93.75_supp", "187.5_supp", "500_supp", "1.5M_supp", "3M_supp",
    "6M_supp", "12M_supp", "MaxTsdr_9.6", "MaxTsdr_19.2", "MaxTsdr_31.25", "MaxTsdr_45.45", "MaxTsdr_93.75",
    "MaxTsdr_187.5", "MaxTsdr_500", "MaxTsdr_1.5M", "MaxTsdr_3M", "MaxTsdr_6M", "MaxTsdr_12M", "LAS_Len",
    "Min_Slave_Intervall", "Min_Slave_Interval", "WD_Base_1ms_supp",
    // Slave related
    "Freeze_Mode_supp", "Sync_Mode_supp", "Auto_Baud_supp", "Set_Slave_Add_supp", "User_Prm_Data_Len", "User_Prm_Data",
    "Modular_Station", "Max_Module", "Max_Input_Len", "Max_Output_Len", "Max_Data_Len", "Fail_Safe",
    "Max_Diag_Data_Len", "Modul_Offset", "Slave_Max_Switch_Over_Time", "Slave_Redundancy_supp",
    "Ident_Maintenance_supp", "Max_User_Prm_Data_Len", "Max_Ext_Module_Prm_Data_Len", "Prm_Block_Structure_supp",
    "Prm_Block_Structure_req", "Jokerblock_Slot", "Jokerblock_Location", "PrmCmd_supp", "Diagnostic_Alarm_supp",
    "Process_Alarm_supp", "Pull_Plug_Alarm_supp", "Status_Alarm_supp", "Update_Alarm_supp",
    "Manufacturer_Specific_Alarm_supp", "Extra_Alarm_SAP_supp", "Alarm_Sequence_Mode_Count", "Alarm_Type_Mode_supp",
    "DPV1_Slave", "C1_Read_Write_supp", "C2_Read_Write_supp", "C1_Max_Data_Len", "C2_Max_Data_Len",
    "C1_Response_Timeout", "C2_Response_Timeout", "C1_Read_Write_required", "C2_Read_Write_required",
    "C2_Max_Count_Channels", "Max_Initiate_PDU_Length", "Diagnostic_Alarm_required", "Process_Alarm_required",
    "Pull_Plug_Alarm_required", "Status_Alarm_required", "Update_Alarm_required",
    "Manufacturer_Specific_Alarm_required", "DPV1_Data_Types", "WD_Base_1ms_supp", "Check_Cfg_Mode", "Publisher_supp",
    "Subscriber_supp", "Isochron_Mode_supp", "Isochron_Mode_required", "DXB_Max_Link_Count", "DXB_Max_Data_Length",
    "Max_iParameter_Size", "Info_Text_Ref", "Order_Number", "Fail_Safe_required", "Max_Slot_Number",
    // Modules and their parameters
    "Module", "EndModule", "Ext_Module_Prm_Data_Len", "Ext_User_Prm_Data_Const", "Ext_User_Prm_Data_Ref",
    "Data_Area_Beg", "Data_Area_End", "Related_CFG_Identifier", "IO_Direction", "Length", "Consistency",
    "Publisher_allowed", "DP_Master", "F_IO_StructureDescVersion", "F_IO_StructureDescCRC", "F_Ext_Module_Prm_Data_Len",
    "F_Ext_User_Prm_Data_Const", "F_Ext_User_Prm_Data_Ref", "F_ParamDescCRC", "Module_Group_Ref", "Allowed_Modules",
    "Preset",
    // Diagnosis
    "Unit_Diag_Bit", "Unit_Diag_Bit_Help", "Unit_Diag_Not_Bit", "Unit_Diag_Not_Bit_Help", "Unit_Diag_Area",
    "Unit_Diag_Area_End", "Channel_Diag", "Channel_Diag_Help", "Value", "Value_Help", "Module_Status_Help"};

}  // namespace

bool IsKnownGsdKeyword(std::string_view keyword) {
  return std::any_of(std::begin(kKeywords), std::end(kKeywords),
                     [&](std::string_view known) { return EqualsNoCase(known, keyword); });
}

}  // namespace zarn::converters
