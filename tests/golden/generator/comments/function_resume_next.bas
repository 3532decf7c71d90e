Option Explicit

' Refreshes the list
Private Sub Refresh()
    List1.Clear
End Sub

Public Function Total(ByVal a As Long, _
                      ByVal b As Long) As Long
'**********************************************************************
' Utility: Reloads the list
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
On Error Resume Next



    Total = a + b
'-----------------------------------
'End
End Function

Property Get Title() As String
    Title = m_Title
End Property

Property Let Title(ByVal NewTitle As String)
    m_Title = NewTitle
End Property

Friend Property Set Font(ByVal NewFont As StdFont)
    Set m_Font = NewFont
End Property
