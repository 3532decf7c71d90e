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
Private mvNewLevel AS Long
Property Let Level(NewLevel as Long)
'---------------------------------------------------------------
' Gauge.Level (Property Let)
' The level shown
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------

    On Error GoTo Fail
    mvNewLevel = NewLevel
    PropertyChanged "Level"
    Exit Property
Fail:
    Err.Raise Err.Number, "Gauge.Level", Err.Description
End Property
Property Get Level( )AS Long
'---------------------------------------------------------------
' Gauge.Level (Property Get)
' The level shown
' Author: My name    Created: Sunday 06 December 2026
'---------------------------------------------------------------

    On Error GoTo Fail
    Level = mvNewLevel
    Exit Property
Fail:
    Err.Raise Err.Number, "Gauge.Level", Err.Description
End Property

Public Property Get Value() As Long
Attribute Value.VB_UserMemId = 0
    Value = m_Value
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
mvNewLevel = PropBag.ReadProperty ("Level")
    m_Value = PropBag.ReadProperty("Value", 0)
End Sub

Private Sub UserControl_WriteProperties(PropBag As PropertyBag)
Propbag.WriteProperty "Level", mvNewLevel
    PropBag.WriteProperty "Value", m_Value, 0
End Sub
