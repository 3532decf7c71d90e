VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.UserControl Gauge 
   ClientHeight    =   1335
   ClientLeft      =   0
   ClientTop       =   0
   ClientWidth     =   3045
   ScaleHeight     =   1335
   ScaleWidth      =   3045
   Begin VB.Label lblValue 
      Alignment       =   2  'Center
      Caption         =   "0 %"
      BeginProperty Font 
         Name            =   "Tahoma"
         Size            =   9.75
      EndProperty
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   960
      Width           =   2775
   End
End
Attribute VB_Name = "Gauge"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = False
Attribute VB_Exposed = True
Option Explicit

' How the needle moves between two values.
Public Enum GaugeEasing
    geLinear = 0
    geSmooth = 1
End Enum

Private Type GaugeRange
    Minimum As Long
    Maximum As Long
End Type

#If DEBUG_GAUGE Then
Private Const TRACE_MOVES As Boolean = True
#Else
Private Const TRACE_MOVES As Boolean = False
#End If

Public Event Changed(ByVal OldValue As Long, _
                     ByVal NewValue As Long)
Attribute Changed.VB_Description = "Raised after the value changes."

Private m_Value As Long
Private m_Range As GaugeRange

Public Property Get Value() As Long
Attribute Value.VB_UserMemId = 0
'**********************************************************************
' Utility: Description of its utility
'
' Functions called: 
' Functions calling: 
'
'
' Programmer's name: My name
' Creation date: Sunday 06 December 2026
' Last modification:          by
'**********************************************************************
'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorValue



    Value = m_Value
'-----------------------------------
'- End and exit
ValueNext:
Exit Property


'-----------------------------------
'Error local traitment
ErrorValue:
Msgbox Err.Description, , "Value"
       '-Resume
Resume ValueNext
'-----------------------------------
'End
End Property

Public Property Let Value(ByVal NewValue As Long)
    Dim OldValue As Long
    OldValue = m_Value
    m_Value = NewValue
    lblValue.Caption = CStr(m_Value) & " %"
    PropertyChanged "Value"
    RaiseEvent Changed(OldValue, m_Value)
End Property

Private Sub UserControl_InitProperties()
    m_Range.Minimum = 0
    m_Range.Maximum = 100
End Sub

Private Sub UserControl_ReadProperties(PropBag As PropertyBag)
    m_Value = PropBag.ReadProperty("Value", 0)
End Sub

Private Sub UserControl_WriteProperties(PropBag As PropertyBag)
    PropBag.WriteProperty "Value", m_Value, 0
End Sub
