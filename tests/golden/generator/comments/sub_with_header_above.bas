Option Explicit

' Refreshes the list
Private Sub Refresh()
'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorRefresh



    List1.Clear
'-----------------------------------
'- End and exit
RefreshNext:
Exit Sub


'-----------------------------------
'Error local traitment
ErrorRefresh:
Msgbox Err.Description, , "Refresh"
       '-Resume
Resume RefreshNext
'-----------------------------------
'End
End Sub

Public Function Total(ByVal a As Long, _
                      ByVal b As Long) As Long
    Total = a + b
End Function

Property Get Title() As String
    Title = m_Title
End Property

Property Let Title(ByVal NewTitle As String)
    m_Title = NewTitle
End Property
